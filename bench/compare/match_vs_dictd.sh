#!/usr/bin/env bash
# Match strategies beside `dict -m -s STRATEGY` asking a local dictd that serves the same
# GCIDE: 300 one-edit misspellings for lev, 300 queries each for prefix, substring, suffix
# and soundex, made from random GCIDE headwords. Prints the agreement of each strategy and
# names the cause of every difference. Opt-in: it runs the main job first (which builds,
# compiles and installs GCIDE) unless ORVIADIC_TOOL names a tool whose registry
# (ORVIADIC_REGISTRY_DIR) already has GCIDE installed as 0x00010101.
# usage: match_vs_dictd.sh [QUERIES_PER_STRATEGY]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
queries=${1:-300}
if [ -z "${ORVIADIC_TOOL:-}" ]; then
  bash "$root/scripts/run.sh" Dictionary >/dev/null
  export ORVIADIC_REGISTRY_DIR=${ORVIADIC_REGISTRY_DIR:-$root/build/registry}
  ORVIADIC_TOOL="$root/build/main/tools/orviadic"
fi

source "$root/bench/compare/dictd_server.sh"
python3 "$root/bench/compare/match_agreement.py" "$ORVIADIC_TOOL" "$port" "$queries"

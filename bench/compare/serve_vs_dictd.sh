#!/usr/bin/env bash
# Opt-in: `orviadic serve` beside a local dictd serving the same GCIDE, over the DICT
# protocol, for COUNT random GCIDE headwords (default 1,000): DEFINE's entry texts as sets
# once the compiler's conversion is undone, and the words of MATCH exact and MATCH prefix.
# Prints the agreement counts and the cause of every difference.
# Builds and installs GCIDE first (scripts/run.sh) unless ORVIADIC_TOOL names a tool whose
# registry (ORVIADIC_REGISTRY_DIR) already holds GCIDE as 0x00010101.
# usage: serve_vs_dictd.sh [COUNT [SEED]]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${ORVIADIC_TOOL:-}" ]; then
  bash "$root/scripts/run.sh" >/dev/null
  export ORVIADIC_REGISTRY_DIR=${ORVIADIC_REGISTRY_DIR:-$root/build/registry}
  ORVIADIC_TOOL="$root/build/main/tools/orviadic"
fi
tool=$ORVIADIC_TOOL
source "$root/bench/compare/dictd_server.sh"
source "$root/bench/serve/orviadic_server.sh"
python3 "$root/bench/compare/serve_agreement.py" "$serve_port" "$port" "${1:-1000}" "${2:-26}"

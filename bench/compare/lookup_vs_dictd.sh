#!/usr/bin/env bash
# Whole-process comparison: `orviadic lookup` on the compiled GCIDE against `dict` asking a
# local dictd that serves the same GCIDE, median of 30 runs each with hyperfine, started
# without a shell, which alone costs about what the lookup does.
# Runs the main job first, which sets up, builds, compiles and installs GCIDE.
# usage: lookup_vs_dictd.sh [WORD]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
word=${1:-Dictionary}
bash "$root/scripts/run.sh" "$word" >/dev/null
export ORVIADIC_REGISTRY_DIR=${ORVIADIC_REGISTRY_DIR:-$root/build/registry}
tool="$root/build/main/tools/orviadic"

source "$root/bench/compare/dictd_server.sh"

hyperfine -N --runs 30 --warmup 3 --style basic --export-json "$work/times.json" \
  -n "orviadic lookup" "$tool lookup 0x00010101 '$word'" \
  -n "dict via local dictd" "dict -h 127.0.0.1 -p $port -d gcide '$word'"
python3 - "$work/times.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
medians = {r["command"]: r["median"] for r in results}
for name, median in medians.items():
    print(f"{name}: median {median * 1000:.2f} ms")
mine, theirs = medians["orviadic lookup"], medians["dict via local dictd"]
ratio = mine / theirs
print(f"orviadic lookup costs dict via local dictd: {ratio:.2f}x (bar at most 0.50x) "
      f"{'met' if ratio <= 0.5 else 'MISSED'}")
PY

#!/usr/bin/env bash
# `orviadic verify` of GCIDE against `orviadic compile` of the same dictionary, median of
# RUNS runs each (default 3) with hyperfine: verify reads and decodes every entry once
# more than compiling wrote it, and should cost well under the compile.
# Runs the main job first, which sets up, builds, compiles and installs GCIDE.
# usage: verify_vs_compile.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-3}
bash "$root/scripts/run.sh" >/dev/null
bash "$root/scripts/setup.sh" test
export ORVIADIC_REGISTRY_DIR=${ORVIADIC_REGISTRY_DIR:-$root/build/registry}
tool="$root/build/main/tools/orviadic"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

hyperfine --runs "$runs" --warmup 1 --style basic --export-json "$work/times.json" \
  -n compile "$tool compile --from dictd /usr/share/dictd/gcide --id 0x00010101 --out $work/out" \
  -n verify "$tool verify 0x00010101"
python3 - "$work/times.json" <<'PY'
import json, sys
medians = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
for name, median in medians.items():
    print(f"orviadic {name} of GCIDE: median {median:.2f} s")
ratio = medians["verify"] / medians["compile"]
print(f"verify is cheaper than compile: {ratio:.2f}x (bar at most 0.50x) "
      + ("met" if ratio <= 0.50 else "MISSED"))
PY

#!/usr/bin/env bash
# Whole-process comparison: `orviadic lookup` on the compiled GCIDE against `dict` asking a
# local dictd that serves the same GCIDE, median of 30 runs each with hyperfine.
# Runs the main job first, which sets up, builds, compiles and installs GCIDE.
# usage: lookup_vs_dictd.sh [WORD]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
word=${1:-Dictionary}
bash "$root/scripts/run.sh" "$word" >/dev/null
export ORVIADIC_REGISTRY_DIR=${ORVIADIC_REGISTRY_DIR:-$root/build/registry}
tool="$root/build/main/tools/orviadic"

# dictd drops its privileges after writing its pid file, so its folder must stay readable.
work=$(mktemp -d)
chmod 755 "$work"
port=$((20000 + RANDOM % 20000))
cat >"$work/dictd.conf" <<CONF
global {
  listen_to 127.0.0.1
  port $port
  pid_file $work/dictd.pid
}
database gcide {
  data "/usr/share/dictd/gcide.dict.dz"
  index "/usr/share/dictd/gcide.index"
}
CONF
dictd --config "$work/dictd.conf"
trap 'kill "$(cat "$work/dictd.pid" 2>/dev/null)" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do
  dict -h 127.0.0.1 -p "$port" -d gcide "$word" >/dev/null 2>&1 && break
  sleep 0.1
done

hyperfine --runs 30 --warmup 3 --style basic --export-json "$work/times.json" \
  -n "orviadic lookup" "$tool lookup 0x00010101 '$word'" \
  -n "dict via local dictd" "dict -h 127.0.0.1 -p $port -d gcide '$word'"
python3 - "$work/times.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
medians = {r["command"]: r["median"] for r in results}
for name, median in medians.items():
    print(f"{name}: median {median * 1000:.2f} ms")
mine, theirs = medians["orviadic lookup"], medians["dict via local dictd"]
print(f"orviadic lookup takes {mine / theirs:.2f}x the time of dict via local dictd")
PY

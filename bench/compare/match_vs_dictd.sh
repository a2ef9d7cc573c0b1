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

# dictd drops its privileges after writing its pid file, so its folder must stay readable.
work=$(mktemp -d)
chmod 755 "$work"
# A port the system just handed out is free; dictd takes it over at once.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
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
  dict -h 127.0.0.1 -p "$port" -d gcide Dictionary >/dev/null 2>&1 && break
  sleep 0.1
done
python3 "$root/bench/compare/match_agreement.py" "$ORVIADIC_TOOL" "$port" "$queries"

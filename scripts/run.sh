#!/usr/bin/env bash
# Sets up, builds, and runs the main job: compiles GCIDE (once, until the tool changes),
# installs it into a registry kept under the build folder, and looks a word up.
# usage: run.sh [WORD]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
word=${1:-Dictionary}
bash "$root/scripts/setup.sh" main
# The build shows its progress on a terminal and stays quiet in a pipe.
if [ -t 1 ]; then
  bash "$root/scripts/build.sh" main
else
  bash "$root/scripts/build.sh" main >/dev/null
fi
export ORVIADIC_REGISTRY_DIR=${ORVIADIC_REGISTRY_DIR:-$root/build/registry}
tool="$root/build/main/tools/orviadic"
out="$root/build/dictionaries/gcide"
if [ ! -f "$out/00010101.IDX" ] || [ "$tool" -nt "$out/00010101.IDX" ]; then
  mkdir -p "$out"
  "$tool" compile --from dictd /usr/share/dictd/gcide --id 0x00010101 --out "$out"
fi
"$tool" install "$out" >/dev/null
"$tool" version
"$tool" lookup 0x00010101 "$word"

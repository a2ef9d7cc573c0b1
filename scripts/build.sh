#!/usr/bin/env bash
# Configures and builds one flavour into build/NAME: plain, asan or fuzz.
set -euo pipefail
flavour=${1:-plain}
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
case "$flavour" in
  plain) args=(-DORVIADIC_WERROR=ON) ;;
  asan)  args=(-DORVIADIC_WERROR=ON -DORVIADIC_SANITIZE=ON -DORVIADIC_BENCH=OFF) ;;
  fuzz)  args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORVIADIC_FUZZ=ON
               -DORVIADIC_SANITIZE=ON -DORVIADIC_TOOLS=OFF -DORVIADIC_BENCH=OFF
               -DORVIADIC_FUZZ_SECONDS=${ORVIADIC_FUZZ_SECONDS:-20}) ;;
  *) echo "build.sh: unknown flavour $flavour" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$flavour" -G Ninja "${args[@]}" >/dev/null
# The fuzz flavour builds only the fuzzers: the other flavours already test the rest.
target=all
[ "$flavour" = fuzz ] && target=all_fuzzers
ninja -C "$root/build/$flavour" -j "$jobs" "$target"

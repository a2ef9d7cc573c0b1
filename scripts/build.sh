#!/usr/bin/env bash
# Configures and builds one flavour into build/NAME: main (the libraries and the tool
# alone, for the main job), plain, asan, fuzz, coverage, or the Windows builds win32 (the
# 32-bit DLL pair) and win64 (the tests, run under Wine).
set -euo pipefail
flavour=${1:-plain}
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
case "$flavour" in
  main)  args=(-DORVIADIC_TESTS=OFF -DORVIADIC_BENCH=OFF) ;;
  plain) args=(-DORVIADIC_WERROR=ON) ;;
  asan)  args=(-DORVIADIC_WERROR=ON -DORVIADIC_SANITIZE=ON -DORVIADIC_BENCH=OFF) ;;
  fuzz)  args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORVIADIC_FUZZ=ON
               -DORVIADIC_SANITIZE=ON -DORVIADIC_TOOLS=OFF -DORVIADIC_BENCH=OFF
               -DORVIADIC_FUZZ_SECONDS=${ORVIADIC_FUZZ_SECONDS:-20}) ;;
  coverage) args=(-DCMAKE_BUILD_TYPE=Debug -DORVIADIC_COVERAGE=ON -DORVIADIC_BENCH=OFF) ;;
  win32) args=(-DORVIADIC_WERROR=ON
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/i686-w64-mingw32.cmake") ;;
  win64) args=(-DORVIADIC_WERROR=ON
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/x86_64-w64-mingw32.cmake") ;;
  *) echo "build.sh: unknown flavour $flavour" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$flavour" -G Ninja "${args[@]}" >/dev/null
# The fuzz flavour builds only the fuzzers: the other flavours already test the rest.
target=all
[ "$flavour" = fuzz ] && target=all_fuzzers
[ "$flavour" = main ] && target=orviadic
ninja -C "$root/build/$flavour" -j "$jobs" "$target"

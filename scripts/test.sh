#!/usr/bin/env bash
# Sets up, then builds and runs the whole test suite: a plain build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs, the Windows builds
# (the 32-bit DLL pair's exports, the 64-bit tests under Wine) and static analysis
# (scripts/static_analysis.sh), which runs beside the others at the lowest priority, on
# what the builds and tests leave of the cores, and is waited for before the plain build,
# which goes last so that its summary closes the output.
# ORVIADIC_FUZZ_SECONDS sets how long each fuzz target runs (default 20).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" test
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
mkdir -p "$root/build"
nice -n 19 bash "$root/scripts/static_analysis.sh" >"$root/build/static_analysis.log" 2>&1 &
analysis=$!
run_flavour() {
  local flavour=$1 started=$SECONDS filter=()
  echo "== $flavour build"
  bash "$root/scripts/build.sh" "$flavour"
  echo "== $flavour tests"
  [ "$flavour" = fuzz ] && filter=(-R '_fuzz$')
  local retries="$root/build/$flavour/wine-retries.log"
  rm -f "$retries"
  ctest --test-dir "$root/build/$flavour" -j "$(nproc)" --output-on-failure --timeout 900 \
    "${filter[@]}" || status=1
  if [ -f "$retries" ]; then
    local count
    count=$(wc -l <"$retries")
    cat "$retries"
    echo "== $flavour: $count Wine retries (more than one fails the run)"
    [ "$count" -le 1 ] || status=1
  fi
  echo "== $flavour: $((SECONDS - started)) s"
}
for flavour in fuzz asan win32 win64; do run_flavour "$flavour"; done
waited=$SECONDS
echo "== static analysis"
wait "$analysis" || status=1
cat "$root/build/static_analysis.log"
echo "== static analysis: $((SECONDS - waited)) s after the Windows builds"
run_flavour plain
exit $status

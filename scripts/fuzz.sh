#!/usr/bin/env bash
# The long fuzz run: builds the fuzz flavour (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every fuzz target for SECONDS (default 600), one
# after the other, each from its seed corpus into a working corpus kept in build/fuzz.
# Prints each target's executions; exits 1 when a target finds a fault.
# usage: fuzz.sh [SECONDS]
set -euo pipefail
seconds=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" test
bash "$root/scripts/build.sh" fuzz
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for corpus in "$root"/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  target=$(find "$root/build/fuzz/fuzz" -type f -name "$name" -perm -u+x | head -n 1)
  [ -n "$target" ] || { echo "fuzz.sh: no target $name" >&2; status=1; continue; }
  work="$root/build/fuzz/long/$name"
  mkdir -p "$work"
  log="$work.log"
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" \
      "$work" "$corpus" >"$log" 2>&1; then
    echo "$name: $(grep -o 'number_of_executed_units: [0-9]*' "$log" | cut -d' ' -f2) executions, no finding"
  else
    echo "$name: FOUND a fault; see $log and the crash file in $work"
    status=1
  fi
done
exit $status

#!/usr/bin/env bash
# Plants each fault of tests/faults/ into the sources in turn, rebuilds the plain build and
# runs the tests its "Caught-by:" line names (a CTest regular expression); a fault those
# tests do not catch, or one that does not build, fails the run. The sources are restored
# after each fault. Run by hand (each fault costs a rebuild); not part of the test command.
# usage: planted_faults.sh [PATCH...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/plain"
[ -f "$build/build.ninja" ] || bash "$root/scripts/build.sh" plain >/dev/null
patches=("$@")
[ ${#patches[@]} -gt 0 ] || patches=("$root"/tests/faults/*.patch)
failed=0
printf '%-40s %-8s %s\n' fault result tests
for patch in "${patches[@]}"; do
  name=$(basename "$patch" .patch)
  tests=$(sed -n 's/^Caught-by: //p' "$patch")
  if ! git -C "$root" apply "$patch"; then
    printf '%-40s %-8s %s\n' "$name" "no-apply" "$tests"
    failed=1
    continue
  fi
  if ! ninja -C "$build" >/dev/null 2>&1; then
    result=no-build
    failed=1
  elif ctest --test-dir "$build" -j "$(nproc)" -R "$tests" >/dev/null 2>&1; then
    result=MISSED
    failed=1
  else
    result=caught
  fi
  git -C "$root" apply -R "$patch"
  printf '%-40s %-8s %s\n' "$name" "$result" "$tests"
done
ninja -C "$build" >/dev/null 2>&1
exit $failed

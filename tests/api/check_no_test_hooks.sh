#!/usr/bin/env bash
# Fails when a shipped library holds any of the hooks that only test builds may link:
# the heap failure counters, the version block builder, key creation and the store's
# cursor accessor. Reads every symbol nm sees, the library's internal ones included.
# usage: check_no_test_hooks.sh NM LIBRARY...
set -euo pipefail
nm=$1
shift
hooks='inject(AllocationFailure|ProcessHeapFailure)|allocationShouldFail|processHeapLookupShouldFail'
hooks+='|makeVersionBlock|regCreateKey|DatabaseTestAccess|Database::cursor\(\)'
for library in "$@"; do
  symbols=$("$nm" -C "$library")
  # Without the library's own internal names the check would prove nothing.
  grep -q 'orvia::' <<<"$symbols" || { echo "nm sees no internal symbols in $library"; exit 1; }
  found=$(grep -E "$hooks" <<<"$symbols" || true)
  if [ -n "$found" ]; then
    echo "test hooks in $library:"
    echo "$found"
    exit 1
  fi
done
echo "no test hooks in $*"

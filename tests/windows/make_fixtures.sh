#!/usr/bin/env bash
# Makes the portability fixtures in tests/windows/data on Linux: the dictionary compiled
# from data/words.tsv into records chained through further data files, the listing the Linux build reads from it, and the index
# the store writes for the portability test's fixed run of operations.
# Usage: make_fixtures.sh [BUILD_DIR]   a native build with the tool and portability_test
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/plain}
out=$root/tests/windows/data
ninja -C "$build" compile_chained portability_test >/dev/null
rm -rf "$out/linux_dictionary" "$out/store_written"
mkdir -p "$out/linux_dictionary" "$out/store_written"
"$build/tests/windows/compile_chained" "$root/data/words.tsv" 0x00010101 "$out/linux_dictionary"
ORVIADIC_UPDATE_FIXTURES=1 ORVIADIC_SOURCE_DIR=$root "$build/tests/windows/portability_test" >/dev/null
ls -l "$out"/*/

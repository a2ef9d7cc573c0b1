#!/usr/bin/env bash
# The Windows zip: made by CPack from the build folder, it holds the DLL pair beside the
# example client, the headers, the import libraries and the module-definition files. A
# 32-bit zip's DLLs pass the export check; where Wine runs this build, the example from
# the unpacked zip looks a word up in the dictionary installed for the examples.
# usage: windows_zip_test.sh BUILD_DIR SOURCE_DIR OBJDUMP|- RUNNER|-
set -euo pipefail
build=$1
source=$2
objdump=$3
runner=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/expect.sh"

(cd "$work" && cpack --config "$build/CPackConfig.cmake" >/dev/null)
zip=$(echo "$work"/OrviaDic-*.zip)
(cd "$work" && cmake -E tar xf "$zip")
root=${zip%.zip}
for file in bin/OrviaDic.dll bin/OrviaDB.dll bin/lookup.exe include/orviadic.h \
  include/orviadb.h lib/libOrviaDic.dll.a lib/libOrviaDB.dll.a lib/OrviaDic.def \
  lib/OrviaDB.def examples/lookup.c; do
  [ -f "$root/$file" ] || fail "the zip lacks $file"
done
if [ "$objdump" != - ]; then
  expect 0 "" bash "$source/tests/windows/check_dll_exports.sh" "$objdump" \
    "$root/bin/OrviaDic.dll" "$root/bin/OrviaDB.dll" "$source/include/orviadic.h"
fi
if [ "$runner" != - ]; then
  expect 0 "A round fruit of the rose family" "$runner" "$root/bin/lookup.exe" 00010101 apple
fi
echo "$failures failed"
[ "$failures" = 0 ]

#!/usr/bin/env bash
# The orviadic tool end to end: the rows of each table given (tests/data/tools/*.txt), in
# order, in one folder: a shell step run before the command, its exit status, a pattern
# its output must show and its arguments.
# usage: cli_test.sh ORVIADIC SOURCE_DIR TABLE...
set -euo pipefail
tool=$1
source_dir=$2
shift 2
data=$source_dir/data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry NO_COLOR=1
source "$source_dir/tests/install/expect.sh"
for table in "$@"; do
  [ -n "$table" ] || continue  # a table left out by the build's options
  while IFS= read -r -u 3 row; do
    split_row "$row"
    eval "${field[0]}"
    eval "arguments=(${field[3]})"
    expect "${field[1]}" "${field[2]}" "$tool" "${arguments[@]}"
  done 3< <(rows "$source_dir/tests/data/tools/$table")
done
echo "$failures failed"
[ "$failures" = 0 ]

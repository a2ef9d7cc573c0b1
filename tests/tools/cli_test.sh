#!/usr/bin/env bash
# The orviadic tool end to end on the hand-written word list: compile, install, then the
# answers and exit statuses of its commands, over tests/data/tools/cli.txt.
# usage: cli_test.sh ORVIADIC SOURCE_DIR
set -euo pipefail
tool=$1
data=$2/data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry NO_COLOR=1
source "$2/tests/install/expect.sh"
while IFS= read -r -u 3 row; do
  split_row "$row"
  eval "${field[0]}"
  eval "arguments=(${field[3]})"
  expect "${field[1]}" "${field[2]}" "$tool" "${arguments[@]}"
done 3< <(rows "$2/tests/data/tools/cli.txt")
echo "$failures failed"
[ "$failures" = 0 ]

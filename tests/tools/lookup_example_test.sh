#!/usr/bin/env bash
# The UTF-8 example client (examples/linux/lookup_text.c) over the German-English word
# list of data/lookup: it finds "schön", not "schon" that shares its key, and prints the
# pronunciation the dictionary stores as character references in UTF-8.
# usage: lookup_example_test.sh ORVIADIC LOOKUP_TEXT SOURCE_DIR
set -euo pipefail
tool=$1 example=$2 source_dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry
source "$source_dir/tests/install/expect.sh"
expect 0 "records" "$tool" compile --from tsv "$source_dir/data/lookup/german.tsv" \
  --id 0x00010106 --out "$work/dict"
expect 0 "" "$tool" install "$work/dict"
expect 0 "^Beautiful. /ʃøːn/$" "$example" 00010106 schön
expect 0 "^Already. /ʃoːn/$" "$example" 00010106 schon
expect 1 "" "$example" 00010106 Schön
expect 2 "code page" "$example" 00010106 "ωmega"
echo "$failures failed"
[ "$failures" = 0 ]

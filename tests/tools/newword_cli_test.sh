#!/usr/bin/env bash
# orviadic newword end to end: targets made and compiled, new-word files made, read and
# checked, and a dictionary's new-word status, with the tool's exit statuses.
# usage: newword_cli_test.sh ORVIADIC DATA_DIR
set -euo pipefail
tool=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry NO_COLOR=1
failures=0
expect() {  # expect STATUS PATTERN COMMAND...: the command exits with STATUS and prints PATTERN
  local status=$1 pattern=$2
  shift 2
  local out rc=0
  out=$("$tool" "$@" 2>&1) || rc=$?
  if [ "$rc" != "$status" ] || ! grep -q -- "$pattern" <<<"$out"; then
    echo "FAIL: orviadic $* -> exit $rc, wanted $status and /$pattern/:"
    echo "$out"
    failures=$((failures + 1))
  fi
}

expect 0 "records" compile --from tsv "$data/words.tsv" --id 0x00010101 --out "$work/dict"
expect 0 "" install "$work/dict"
# Kind 0x01 lies beside the installed dictionary, found through 00010101Path: no value.
expect 0 "the registry already leads here" newword target 0x01010101
expect 1 "New words of 01010101" search 0x01010101 anything
if "$tool" config show | grep -q 01010101Path; then
  echo "FAIL: newword target wrote a value the registry did not need"
  failures=$((failures + 1))
fi
expect 0 "02010101Path = $work/elsewhere" newword target 0x02010101 --out "$work/elsewhere"
expect 0 '"exists": true' search --json 0x02010101 '!'
expect 2 "01010101.IDX is already there" newword target 0x01010101
expect 2 "not a new-word target" newword target 0x7F010101
expect 2 "not a new-word target" newword target 0xFF010101
expect 2 "not a new-word target" newword target 0x00010101
expect 2 "give --out" newword target 0x03020202
# A target compiled from a source opens like any dictionary.
expect 0 "records" compile --from tsv "$data/words.tsv" --id 0x03010101 --out "$work/dict"
expect 0 "The land alongside a river" lookup 0x03010101 bank

printf 'headword\ttext\tlevel\nbank\tA new sense of bank\t5\nzyzzyva\tA weevil\t1\n' >"$work/new.tsv"
expect 0 "2 records for 0x01010101, version 255, 2026-12-07 12:30:00.500 (weekday 1)" \
  newword make "$work/new.tsv" --for 0x01010101 --version 255 --time 2026-12-07T12:30:00.500 \
  --out "$work/new.bin"
expect 0 '"time": \[2026, 12, 1, 7, 12, 30, 0, 500\]' --json newword info "$work/new.bin"
expect 0 "^valid" newword info "$work/new.bin"
expect 2 "not a new-word target" newword make "$work/new.tsv" --for 0xFF010101 --version 1 --out "$work/x.bin"
expect 2 "--version" newword make "$work/new.tsv" --for 0x01010101 --version 256 --out "$work/x.bin"
expect 2 "not a time" newword make "$work/new.tsv" --for 0x01010101 --version 1 --time 2026-02-30T00:00:00 --out "$work/x.bin"
[ -e "$work/x.bin" ] && { echo "FAIL: a refused make wrote a file"; failures=$((failures + 1)); }
cp "$work/new.bin" "$work/longer.bin" && printf 'x' >>"$work/longer.bin"
expect 1 "not the images' size + 40" newword info "$work/longer.bin"
head -c 39 "$work/new.bin" >"$work/cut.bin"
expect 1 "shorter than its 40-byte header" newword info "$work/cut.bin"
expect 2 "cannot open" newword info "$work/missing.bin"

expect 1 "no new words merged into 0x01010101 yet" newword status 0x01010101
expect 1 '"lines": \[\]' --json newword status 0x01010101
# The list is in the dictionary's code page (here Windows-1252); status shows it in UTF-8.
printf 'bank\r\ncaf\xe9\r\n' >"$work/dict/01010101.NEW"
expect 1 '"lines": \["bank", "café"\]' --json newword status 0x01010101
expect 1 "01010101.NEW" newword status 0x01010101
expect 2 "not a full dictionary id" newword status 0x00010101
echo "$failures failed"
[ "$failures" = 0 ]

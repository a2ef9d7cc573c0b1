#!/usr/bin/env bash
# The tool's user edits end to end: notes on entries, words of the user's own, their
# lists, and the companion files install makes for dictionaries compiled without them.
# usage: edit_cli_test.sh ORVIADIC DATA_DIR
set -euo pipefail
tool=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry NO_COLOR=1
failures=0
check() {  # check STATUS PATTERN OUTPUT RC: OUTPUT came with RC and shows PATTERN
  if [ "$4" != "$1" ] || ! grep -q -- "$2" <<<"$3"; then
    echo "FAIL: exit $4, wanted $1 and /$2/:"
    echo "$3"
    failures=$((failures + 1))
  fi
}
expect() {  # expect STATUS PATTERN COMMAND...
  local status=$1 pattern=$2 out rc=0
  shift 2
  out=$("$tool" "$@" 2>&1) || rc=$?
  check "$status" "$pattern" "$out" "$rc"
}
d=0x00010101
"$tool" compile --from tsv "$data/words.tsv" --id $d --out "$work/dict" >/dev/null
"$tool" install "$work/dict" >/dev/null

# Notes go on the entry the word lands on, are replaced in place and deleted.
expect 0 "note added to bank" note $d bank "Keep away in a flood."
expect 0 "Keep away in a flood." lookup $d bank
expect 0 '"note": "Keep away in a flood.' lookup --json $d bank
expect 0 '"note": ""' lookup --json $d apple
expect 0 "note replaced on bank" note $d bank "Two lines.
The second."
expect 0 "The second." lookup $d bank
expect 0 "note added to zebra" note $d zebras "Lands on zebra."
expect 1 "not in the dictionary" note --exact $d zebras "Refused."
expect 0 "bank  Two lines." notes $d
expect 0 '"count": 2' notes --json $d
expect 0 "note deleted from bank" note $d bank --delete
expect 1 "has no note" note $d bank --delete
expect 2 "needs TEXT" note $d bank

# A word of the user's own: its record carries the word, the user marker and the text.
expect 0 "added zyzzyva" add $d zyzzyva "A tropical weevil."
expect 0 "(User-defined)" lookup $d zyzzyva
expect 0 "A tropical weevil." lookup $d zyzzyva
raw=$("$tool" lookup --raw $d zyzzyva)
check 0 "^zyzzyva" "$(head -c 7 <<<"$raw")" 0
expect 2 "already in the dictionary" add $d zyzzyva "Again."
expect 0 "zyzzyva  zyzzyva" records $d
out=$(printf 'From standard input.\nSecond line.\n' | "$tool" add $d quokka - 2>&1) && rc=0 || rc=$?
check 0 "added quokka" "$out" "$rc"
expect 0 "Second line." lookup $d quokka
expect 0 "added wombat" add --raw $d wombat "Bare text."
expect 0 '"content": "Bare text."' lookup --json $d wombat
expect 2 "one of the dictionary's own words" remove $d bank
expect 0 "removed zyzzyva" remove $d zyzzyva
expect 1 "not in the dictionary" remove $d zyzzyva
expect 2 "top byte 00" add 0x7F010101 aardvark "A companion is no target."

# A content language without a user marker: the record is the word and the text alone.
"$tool" compile --from tsv "$data/words.tsv" --id 0x00010601 --out "$work/plain" >/dev/null
"$tool" install "$work/plain" >/dev/null
expect 0 "has no user marker" add 0x00010601 numbat "No marker here."
expect 0 '"content": "numbat\\u000d\\u000aNo marker here."' lookup --json 0x00010601 numbat

# Dictionaries compiled before the companions existed: install makes the missing ones.
rm "$work/dict/FF010101.IDX" "$work/dict/FF010101.DAT"
expect 2 "companion dictionary 0xFF010101 has no files" note $d apple "No files."
expect 0 "created FF010101.IDX, FF010101.DAT" install "$work/dict"
expect 0 "note added to apple" note $d apple "Files again."
expect 0 '"created": \[\]' install --json "$work/dict"
expect 0 "wombat" records $d
echo "$failures failed"
[ "$failures" = 0 ]

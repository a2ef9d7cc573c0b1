#!/usr/bin/env bash
# The orviadic tool end to end on the hand-written word list: compile, install, then the
# answers and exit statuses of search, exists and list.
# With "japanese", a Japanese word list too (it needs the Japanese key operations).
# usage: cli_test.sh ORVIADIC DATA_DIR [japanese]
set -euo pipefail
tool=$1
data=$2
japanese=${3:-}
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
expect 0 "00010101Path" config show
expect 0 "The land alongside a river" lookup 0x00010101 bank
expect 0 '"exact": false' lookup --json 0x00010101 banks
expect 0 "~!" lookup --raw 0x00010101 zebra
expect 0 "ok, 38 records" verify 0x00010101
expect 0 '"exists": true' search --json 0x00010101 bank
expect 0 '"key": "bank"' search --json 0x00010101 bank
expect 1 '"exists": false' search --json 0x00010101 banks
expect 0 "^yes" exists 0x00010101 zebra
expect 0 "^yes" exists 65793 "café"
expect 1 "^no" exists 0x00010101 zebras
expect 2 "not a valid dictionary id" search 0x00000101 bank
expect 2 "no usable registry value 00010102Path" search 0x00010102 bank
expect 2 "not a dictionary id" search 0x0001zz01 bank
expect 0 '"text": "bank"' list --json 0x00010101 --from bank --count 3 --keys
expect 0 '"vcode": 65' list --json 0x00010101 --from word --count 1 --vcodes
expect 0 "Wordsmith" list 0x00010101 --from word --count 5 --level 4
expect 1 "no entries" list 0x00010101 --at 100000
expect 2 "does not combine" list 0x00010101 --level 2 --vcodes
expect 0 "OrviaDic 2.0.1.15" version
# Chinese and Korean: the typed UTF-8 word goes into the code page unfolded, the entry
# comes back in UTF-8.
expect 0 "not in the dictionary's code page: 3" compile --from tsv "$data/cjk/zh_simplified.tsv" \
  --id 0x00010102 --out "$work/zh_simplified"
expect 0 "" compile --from tsv "$data/cjk/zh_traditional.tsv" --id 0x00030103 --out "$work/zh_traditional"
expect 0 "" compile --from tsv "$data/cjk/korean.tsv" --id 0x00050105 --out "$work/korean"
for folder in zh_simplified zh_traditional korean; do expect 0 "" install "$work/$folder"; done
expect 0 '"word": "中文", "exact": true, "record": [0-9]*, "content": "中文\\u000d\\u000athe Chinese language' \
  lookup --json 0x00010102 "中文"
expect 0 "^嫺熟$" lookup 0x00030103 "嫺熟"
expect 0 "^skilful$" lookup 0x00030103 "嫺　熟"
expect 0 "^한국어$" lookup 0x00050105 "한국어"
expect 0 "the Korean language" lookup 0x00050105 "한국어"
expect 2 "cannot be written in the dictionary's code page" lookup 0x00010102 "體育"
if [ "$japanese" = japanese ]; then
  expect 0 "" compile --from tsv "$data/cjk/japanese_cycle.tsv" --id 0x00010304 --out "$work/ja"
  expect 0 "" install "$work/ja"
  expect 0 "^car$" lookup 0x00010304 "カー"
  expect 0 "^ka in katakana$" lookup 0x00010304 "カ"
fi
mv "$work/dict/00010101.DAT" "$work/dict/moved"
expect 2 "bank has no readable content: a file that cannot be opened or read" lookup 0x00010101 bank
mv "$work/dict/moved" "$work/dict/00010101.DAT"
printf 'NOTANINDEX' | dd of="$work/dict/00010101.IDX" bs=1 conv=notrunc 2>/dev/null
expect 2 "00010101.IDX is damaged at offset 0: not an index" search 0x00010101 bank
rm "$work/dict/00010101.IDX"
expect 2 "no index file" exists 0x00010101 bank
echo "$failures failed"
[ "$failures" = 0 ]

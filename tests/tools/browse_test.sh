#!/usr/bin/env bash
# The interactive browser driven through tmux over tests/data/tools/browse.txt: type a
# prefix, page down, read the entry pane and its text, scroll a long text, quit; the
# terminal must be left as it was. Then the Chinese word list: a word typed in UTF-8 is
# looked up only once its last character is whole, and wide characters take two screen
# columns each; with "japanese", the FreeDict Japanese dictionary too.
# usage: browse_test.sh ORVIADIC SOURCE_DIR [japanese]
set -euo pipefail
tool=$1
data=$2/data
japanese=${3:-}
work=$(mktemp -d)
session=orviadic-browse-$$
browsers=0
socket=$work/tmux.0.socket
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry
source "$2/tests/install/expect.sh"
# The word list and one entry of forty lines, longer than the pane.
cp "$data/words.tsv" "$work/words.tsv"
{ printf 'scroll\t'; printf 'line %s\\n' $(seq 39); printf 'line 40\t\t1\t\n'; } >>"$work/words.tsv"
"$tool" compile --from tsv "$work/words.tsv" --id 0x00010101 --out "$work/dict" >/dev/null
"$tool" install "$work/dict" >/dev/null

browse() {  # browse DICTID: a new browser in a fresh server
  # A server being killed may still answer on its socket and then drop the new
  # session ("server exited unexpectedly"), so each browser gets a socket of its own.
  tmux -S "$socket" kill-server 2>/dev/null || true
  browsers=$((browsers + 1))
  socket=$work/tmux.$browsers.socket
  tmux -S "$socket" new-session -d -s "$session" -x 100 -y 24 "env LC_ALL=C.UTF-8 \
    ORVIADIC_REGISTRY_DIR=$ORVIADIC_REGISTRY_DIR $tool browse $1; echo BROWSER-ENDED; sleep 5"
}
screen() { tmux -S "$socket" capture-pane -t "$session" -p; }
columnOf() {  # columnOf TEXT: the screen column at which TEXT starts on its line
  local line
  line=$(screen | grep -m1 -F -- "$1")
  printf '%s' "${line%%"$1"*}" | LC_ALL=C.UTF-8 wc -L
}
waitFor() {  # waitFor PATTERN: the screen shows it within ten seconds
  for _ in $(seq 100); do
    screen | grep -q -- "$1" && return 0
    sleep 0.1
  done
  echo "FAIL: the screen never showed /$1/:"
  screen
  exit 1
}
browse 0x00010101
while IFS= read -r -u 3 row; do
  split_row "$row"
  # The keys are names, split at spaces.
  # shellcheck disable=SC2086
  [ -z "${field[0]}" ] || tmux -S "$socket" send-keys -t "$session" ${field[0]}
  for pattern in "${field[@]:1}"; do waitFor "$pattern"; done
done 3< <(rows "$2/tests/data/tools/browse.txt")

"$tool" compile --from tsv "$data/cjk/zh_simplified.tsv" --id 0x00010102 --out "$work/zh" >/dev/null
"$tool" install "$work/zh" >/dev/null
browse 0x00010102
waitFor "Look up:"
tmux -S "$socket" send-keys -t "$session" "中"
waitFor "Look up: 中$"
waitFor "key      中国$"  # the nearest: the list has no 中 of its own
# 文 (e6 96 87) typed a byte at a time: nothing is looked up until the last byte.
tmux -S "$socket" send-keys -t "$session" -H e6 96
sleep 0.3
waitFor "Look up: 中$"
waitFor "key      中国$"
tmux -S "$socket" send-keys -t "$session" -H 87
waitFor "Look up: 中文$"
waitFor "key      中文$"
waitFor "^中国A$"  # a neighbour in the list
[ "$(columnOf "key      中文")" = 36 ] || { echo "FAIL: the entry pane is not at column 36:"; screen; exit 1; }
tmux -S "$socket" send-keys -t "$session" BSpace
waitFor "Look up: 中$"
tmux -S "$socket" send-keys -t "$session" Escape q
waitFor "BROWSER-ENDED"

if [ "$japanese" = japanese ]; then
  "$tool" compile --from dictd /usr/share/dictd/freedict-jpn-eng --id 0x00020104 \
    --out "$work/ja" >/dev/null
  "$tool" install "$work/ja" >/dev/null
  browse 0x00020104
  waitFor "Look up:"
  tmux -S "$socket" send-keys -t "$session" "ひらがな"
  waitFor "Look up: ひらがな$"
  waitFor "key      ひらがな"
  waitFor "^ひらがな"
  [ "$(columnOf "key      ひらがな")" = 36 ] || { echo "FAIL: the pane is not at column 36"; screen; exit 1; }
  tmux -S "$socket" send-keys -t "$session" Escape q
  waitFor "BROWSER-ENDED"
fi
echo "browser passed"

#!/usr/bin/env bash
# The interactive browser driven through tmux over the steps of tests/data/tools/browse.txt
# and, with "japanese", browse_japanese.txt: each row a shell step (compile and install a
# dictionary, start a browser, send keys, check a column) and the patterns the screen must
# show within ten seconds after it. The terminal must be left as it was.
# usage: browse_test.sh ORVIADIC SOURCE_DIR [japanese]
set -euo pipefail
tool=$1
data=$2/data
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
printf 'quince\tA hard yellow fruit.\n' >>"$work/words.tsv"

dictionary() {  # dictionary FORMAT SOURCE DICTID: compiled and installed
  "$tool" compile --from "$1" "$2" --id "$3" --out "$work/$3" >/dev/null
  "$tool" install "$work/$3" >/dev/null
}
browse() {  # browse DICTID: a new browser in a fresh server
  # A server being killed may still answer on its socket and then drop the new
  # session ("server exited unexpectedly"), so each browser gets a socket of its own.
  tmux -S "$socket" kill-server 2>/dev/null || true
  browsers=$((browsers + 1))
  socket=$work/tmux.$browsers.socket
  tmux -S "$socket" new-session -d -s "$session" -x 100 -y 24 "env LC_ALL=C.UTF-8 \
    ORVIADIC_REGISTRY_DIR=$ORVIADIC_REGISTRY_DIR $tool browse $1; echo BROWSER-ENDED; sleep 5"
}
keys() { tmux -S "$socket" send-keys -t "$session" "$@"; }
screen() { tmux -S "$socket" capture-pane -t "$session" -p; }
column() {  # column TEXT N: TEXT starts at screen column N of its line
  local line
  line=$(screen | grep -m1 -F -- "$1")
  [ "$(printf '%s' "${line%%"$1"*}" | LC_ALL=C.UTF-8 wc -L)" = "$2" ] ||
    { echo "FAIL: \"$1\" is not at column $2:"; screen; exit 1; }
}
around() {  # around ABOVE SELECTED BELOW: three rows of the list, SELECTED mid-list
  local list
  list=$(screen | sed -n '3,23p' | cut -c1-34 | sed 's/ *$//')
  [ "$(sed -n '10,12p' <<<"$list" | tr '\n' '|')" = "$1|$2|$3|" ] ||
    { echo "FAIL: not $1, $2, $3 around row 11 of the list:"; screen; exit 1; }
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
tables=(browse.txt)
[ "${3:-}" = japanese ] && tables+=(browse_japanese.txt)
for table in "${tables[@]}"; do
  while IFS= read -r -u 3 row; do
    split_row "$row"
    eval "${field[0]}"
    for pattern in "${field[@]:1}"; do waitFor "$pattern"; done
  done 3< <(rows "$2/tests/data/tools/$table")
done
[ "$failures" = 0 ]
echo "browser passed"

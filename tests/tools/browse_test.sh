#!/usr/bin/env bash
# The interactive browser driven through tmux: type a prefix, page down, read the entry
# pane and its text, scroll a long text, quit; the terminal must be left as it was.
# usage: browse_test.sh ORVIADIC DATA_DIR
set -euo pipefail
tool=$1
data=$2
work=$(mktemp -d)
session=orviadic-browse-$$
socket=$work/tmux.socket
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry
# The word list and one entry of forty lines, longer than the pane.
cp "$data/words.tsv" "$work/words.tsv"
{ printf 'scroll\t'; printf 'line %s\\n' $(seq 39); printf 'line 40\t\t1\t\n'; } >>"$work/words.tsv"
"$tool" compile --from tsv "$work/words.tsv" --id 0x00010101 --out "$work/dict" >/dev/null
"$tool" install "$work/dict" >/dev/null

tmux -S "$socket" new-session -d -s "$session" -x 100 -y 24 \
  "env ORVIADIC_REGISTRY_DIR=$ORVIADIC_REGISTRY_DIR $tool browse 0x00010101; echo BROWSER-ENDED; sleep 5"
screen() { tmux -S "$socket" capture-pane -t "$session" -p; }
waitFor() {  # waitFor PATTERN: the screen shows it within five seconds
  for _ in $(seq 50); do
    screen | grep -q -- "$1" && return 0
    sleep 0.1
  done
  echo "FAIL: the screen never showed /$1/:"
  screen
  exit 1
}

waitFor "Look up:"
tmux -S "$socket" send-keys -t "$session" "wordsm"
waitFor "Look up: wordsm"
waitFor "key      wordsmith"
waitFor "A skilled user of words."
tmux -S "$socket" send-keys -t "$session" Escape Home
waitFor "record   0 of"
tmux -S "$socket" send-keys -t "$session" NPage
waitFor "record   21 of"
tmux -S "$socket" send-keys -t "$session" Down
waitFor "record   22 of"
# The text pane holds 14 of the 41 lines; Ctrl-E scrolls a line, Ctrl-F a page.
tmux -S "$socket" send-keys -t "$session" Escape "scroll"
waitFor "lines 1-14 of 41"
waitFor "line 13$"
tmux -S "$socket" send-keys -t "$session" C-e
waitFor "lines 2-15 of 41"
tmux -S "$socket" send-keys -t "$session" C-f C-f C-f
waitFor "lines 28-41 of 41"
waitFor "line 40$"
tmux -S "$socket" send-keys -t "$session" C-b C-y
waitFor "lines 13-26 of 41"
tmux -S "$socket" send-keys -t "$session" Escape q
waitFor "BROWSER-ENDED"
echo "browser passed"

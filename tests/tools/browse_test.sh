#!/usr/bin/env bash
# The interactive browser driven through tmux: type a prefix, page down, read the entry
# pane, quit; the terminal must be left as it was.
# usage: browse_test.sh ORVIADIC DATA_DIR
set -euo pipefail
tool=$1
data=$2
work=$(mktemp -d)
session=orviadic-browse-$$
socket=$work/tmux.socket
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry
"$tool" compile --from tsv "$data/words.tsv" --id 0x00010101 --out "$work/dict" >/dev/null
"$tool" install "$work/dict" >/dev/null

tmux -S "$socket" new-session -d -s "$session" -x 100 -y 12 \
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
tmux -S "$socket" send-keys -t "$session" Escape Home
waitFor "record   0 of"
tmux -S "$socket" send-keys -t "$session" NPage
waitFor "record   9 of"
tmux -S "$socket" send-keys -t "$session" Down
waitFor "record   10 of"
tmux -S "$socket" send-keys -t "$session" q
waitFor "BROWSER-ENDED"
echo "browser passed"

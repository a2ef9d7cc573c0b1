#!/usr/bin/env bash
# The interactive browser driven through tmux over tests/data/tools/browse.txt: type a
# prefix, page down, read the entry pane and its text, scroll a long text, quit; the
# terminal must be left as it was.
# usage: browse_test.sh ORVIADIC SOURCE_DIR
set -euo pipefail
tool=$1
work=$(mktemp -d)
session=orviadic-browse-$$
socket=$work/tmux.socket
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
export ORVIADIC_REGISTRY_DIR=$work/registry
source "$2/tests/install/expect.sh"
# The word list and one entry of forty lines, longer than the pane.
cp "$2/data/words.tsv" "$work/words.tsv"
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
while IFS= read -r -u 3 row; do
  split_row "$row"
  # The keys are names, split at spaces.
  # shellcheck disable=SC2086
  [ -z "${field[0]}" ] || tmux -S "$socket" send-keys -t "$session" ${field[0]}
  for pattern in "${field[@]:1}"; do waitFor "$pattern"; done
done 3< <(rows "$2/tests/data/tools/browse.txt")
echo "browser passed"

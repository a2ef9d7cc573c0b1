#!/usr/bin/env bash
# Debian's dict client against orviadic serve on a free loopback port: each row of
# tests/data/tools/dict_client.txt, then SIGTERM, which the server must end with exit 0.
# usage: dict_client_test.sh ORVIADIC SOURCE_DIR
set -euo pipefail
tool=$1
source_dir=$2
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
source "$source_dir/tests/install/expect.sh"
install_word_list "$tool" "$source_dir" "$work"
mkfifo "$work/out"
"$tool" serve --port 0 --db "words=0x00010101:Test words" >"$work/out" &
server=$!
exec 3<"$work/out"
read -r -u 3 listening
port=${listening##*:}
[ "${listening% *}" = "listening on" ] || fail "the server said: $listening"
while IFS= read -r -u 4 row; do
  split_row "$row"
  eval "arguments=(${field[3]})"
  expect "${field[1]}" "${field[2]}" dict -h 127.0.0.1 -p "$port" "${arguments[@]}"
done 4< <(rows "$source_dir/tests/data/tools/dict_client.txt")
kill -TERM "$server"
status=0
wait "$server" || status=$?
server=
[ "$status" = 0 ] || fail "the server exited with $status after SIGTERM"
echo "$failures failed"
[ "$failures" = 0 ]

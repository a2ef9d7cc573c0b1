# Steps of tests/data/tools/compile_refusals.txt that take more than one command, sourced
# by its first row. $tool, $work and $data are cli_test.sh's.

# interrupt_compile SOURCE OUT: a dictd compile into OUT stopped by SIGINT once its first
# ".part" file is there must exit 130 and leave no ".part" file behind.
interrupt_compile() {
  "$tool" compile --from dictd "$1" --id 0x00040101 --encoding stored --out "$2" >/dev/null 2>"$work/interrupted" &
  local pid=$! rc=0
  for _ in $(seq 600); do
    compgen -G "$2/*.part" >/dev/null && break
    sleep 0.05
  done
  kill -INT "$pid"
  wait "$pid" || rc=$?
  [ "$rc" = 130 ] && grep -q interrupted "$work/interrupted" ||
    fail "an interrupted compile: exit $rc, $(cat "$work/interrupted")"
  ! compgen -G "$2/*.part" >/dev/null || fail "an interrupted compile left $(ls "$2")"
}

# compile_twice_at_once: two compiles of one id into one folder at the same time; both
# succeed, one after the other, and the name in place is the later one's.
compile_twice_at_once() {
  local first second rc=0
  "$tool" compile --from tsv "$data/words.tsv" --id 0x00030101 --name first \
    --out "$work/both" >"$work/first.out" 2>&1 &
  first=$!
  "$tool" compile --from tsv "$work/few.tsv" --id 0x00030101 --name second \
    --out "$work/both" >"$work/second.out" 2>&1 &
  second=$!
  wait "$first" || rc=$?
  wait "$second" || rc=$?
  [ "$rc" = 0 ] || fail "two compiles at once: $(cat "$work/first.out" "$work/second.out")"
  local later=none named
  grep -q "waiting for another compile" "$work/second.out" && later=second
  grep -q "waiting for another compile" "$work/first.out" && later=first
  named=$(sed -n 2p "$work/both/00030101.NAM")
  [ "$later" = none ] || [ "$named" = "$later" ] ||
    fail "two compiles at once: $later finished last, the name in place is $named"
}

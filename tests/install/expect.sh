# Checks shared by the shell tests, sourced by them. fail counts a failure with its
# reason; expect STATUS PATTERN COMMAND... runs the command and fails unless it exits
# with STATUS and prints PATTERN.
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect() {
  local status=$1 pattern=$2 out rc=0
  shift 2
  out=$("$@" 2>&1) || rc=$?
  [ "$rc" = "$status" ] && grep -q -- "$pattern" <<<"$out" ||
    fail "$* -> exit $rc, wanted $status and /$pattern/: $out"
}
# rows TABLE: the rows of a case table, one a line, without its notes and blank lines.
rows() { grep -v -e '^[[:space:]]*#' -e '^[[:space:]]*$' "$1"; }
# split_row ROW: the row's fields, split at "|" and trimmed, in the array field.
split_row() {
  IFS='|' read -ra field <<<"$1"
  for i in "${!field[@]}"; do
    field[i]=${field[i]#"${field[i]%%[![:space:]]*}"}
    field[i]=${field[i]%"${field[i]##*[![:space:]]}"}
  done
}
# A dictionary compiled from the hand-written word list and installed into a registry
# folder of the test's own, with the orviadic given.
install_word_list() {
  local tool=$1 source=$2 work=$3
  export ORVIADIC_REGISTRY_DIR="$work/registry"
  expect 0 "records" "$tool" compile --from tsv "$source/data/words.tsv" --id 0x00010101 \
    --out "$work/dict"
  expect 0 "" "$tool" install "$work/dict"
}
# The tool run where no registry folder exists: a one-line reason and exit status 2.
expect_no_registry() {
  local tool=$1 work=$2 out rc=0
  out=$(ORVIADIC_REGISTRY_DIR="$work/nowhere" "$tool" lookup 0x00010101 bank 2>&1) || rc=$?
  [ "$rc" = 2 ] && [ "$(wc -l <<<"$out")" = 1 ] && grep -q "no dictionary 0x00010101 is installed" <<<"$out" ||
    fail "without a registry folder: exit $rc, $out"
}

#!/usr/bin/env bash
# Writes the orviadic manual page from the program's own help: help2man turns the main
# --help into the page, and every subcommand's --help (nested ones too) becomes a
# subsection of COMMANDS, so the page says what the program says.
# usage: make_man.sh ORVIADIC VERSION OUT
set -euo pipefail
tool=$1
version=$2
out=$3
sections=$(mktemp)
trap 'rm -f "$sections"' EXIT

# The help of a subcommand path, as the program prints it when run by its plain name.
help_of() { (exec -a orviadic "$tool" "$@" --help); }
# The subcommands a help text lists, one per line.
subcommands_of() { awk '/^[A-Za-z].*:$/ { s = $0; next } s == "Subcommands:" && NF { print $1 }'; }
# roff text of plain lines: backslashes escaped, no line read as a request.
as_roff() { sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"; }

describe() {
  local help
  help=$(help_of "$@")
  printf '.SS "%s"\n.nf\n%s\n.fi\n' "$*" "$(as_roff <<<"$help")"
  local sub
  for sub in $(subcommands_of <<<"$help"); do describe "$@" "$sub"; done
}
{
  echo "[COMMANDS]"
  for command in $(help_of | subcommands_of); do describe "$command"; done
} >"$sections"
help2man --no-info --no-discard-stderr --version-string="$version" \
  --name="look words up in installed dictionaries" --include="$sections" \
  --output="$out" "$tool"

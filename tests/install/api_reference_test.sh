#!/usr/bin/env bash
# The API reference names every function the public headers declare, each with the
# comment written above it, and the file comments' conventions.
# usage: api_reference_test.sh HTML_DIR SOURCE_DIR
set -euo pipefail
html=$1
source=$2
source "$(dirname "$0")/expect.sh"
# The text of a generated page, without markup.
page_text() { sed -e 's/<[^>]*>//g' -e 's/&amp;/\&/g' -e "s/&#39;/'/g" "$html/$1"; }
for header in orviadic orviadb; do
  text=$(page_text "${header}_8h.html")
  for function in $(grep -oE '\b(dic|db)[A-Z][A-Za-z]*\(' "$source/include/$header.h" | tr -d '(' | sort -u); do
    grep -q "$function" <<<"$text" || fail "$header.h: $function is missing"
  done
done
text=$(page_text orviadic_8h.html)
for phrase in "Every function returns 1, a count, a size or a handle" \
  "A new handle on record n (0-based)" "an open dictionary"; do
  grep -qF "$phrase" <<<"$text" || fail "orviadic.h: \"$phrase\" is missing"
done
echo "$failures failed"
[ "$failures" = 0 ]

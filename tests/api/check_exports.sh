#!/usr/bin/env bash
# Fails unless every dynamic symbol a shared library defines matches the pattern.
# usage: check_exports.sh LIBRARY PATTERN
set -euo pipefail
symbols=$(nm -D --defined-only "$1" | awk '$2 ~ /^[TtDdBbRrWwVvi]$/ {print $3}')
[ -n "$symbols" ] || { echo "no exported symbols in $1"; exit 1; }
stray=$(echo "$symbols" | grep -v -E "$2" || true)
if [ -n "$stray" ]; then
  echo "symbols outside $2:"
  echo "$stray"
  exit 1
fi
echo "$(echo "$symbols" | wc -l) exports, all matching $2"

#!/usr/bin/env bash
# The installed tree as another project meets it: installed into a prefix with a space
# and non-ASCII letters, its libraries carry versioned names and no build-folder paths;
# the installed tool compiles and installs a dictionary; the Linux example builds against
# the prefix through find_package, and, after the prefix is moved, through pkg-config;
# both look words up.
# usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/pre fix/Wörter"
source "$(dirname "$0")/expect.sh"

cmake --install "$build" --prefix "$prefix" >/dev/null
lib="$prefix/lib"
for name in OrviaDic OrviaDB; do
  dynamic=$(readelf -d "$lib/lib$name.so.2")
  grep -q "SONAME.*\[lib$name.so.2\]" <<<"$dynamic" || fail "lib$name.so.2 has no versioned SONAME"
  grep -q -- "$build" <<<"$dynamic" && fail "lib$name.so.2 keeps a path into the build folder"
  [ "$(readlink "$lib/lib$name.so")" = "lib$name.so.2" ] || fail "lib$name.so is not a link to .so.2"
done
grep -q 'RUNPATH.*\[\$ORIGIN\]' <<<"$(readelf -d "$lib/libOrviaDic.so.2")" ||
  fail "libOrviaDic.so.2 does not find libOrviaDB beside itself"
grep -q -- "$build" <<<"$(readelf -d "$prefix/bin/orviadic")" && fail "orviadic keeps a build path"
# The manual page describes every subcommand the installed tool lists.
for command in $("$prefix/bin/orviadic" --help | awk '/^Subcommands:/ { s = 1; next } s && NF { print $1 }'); do
  grep -q "^\.SS \"$command\"" "$prefix/share/man/man1/orviadic.1" || fail "the manual lacks $command"
done
# complete WORDS...: what the installed completion offers for the last word.
complete_words() {
  (source "$prefix/share/bash-completion/completions/orviadic" && COMP_WORDS=("$@") &&
    COMP_CWORD=$(($# - 1)) && _orviadic && echo "${COMPREPLY[*]}")
}
[ "$(complete_words "$prefix/bin/orviadic" con)" = config ] || fail "no subcommand completion"
[ "$(complete_words "$prefix/bin/orviadic" config se)" = "set-path set-type" ] ||
  fail "no nested subcommand completion"
[[ " $(complete_words "$prefix/bin/orviadic" lookup --) " == *" --raw "* ]] ||
  fail "no option completion"

install_word_list "$prefix/bin/orviadic" "$source" "$work"

# lookups PROGRAM: a word that is there, and one that lands on its nearest entry.
lookups() {
  expect 0 "The land alongside a river" "$1" 00010101 bank
  expect 1 "^apple" "$1" 00010101 applz
}
cmake -S "$source/examples/linux" -B "$work/by-package" -G Ninja \
  -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/by-package" >/dev/null
lookups "$work/by-package/lookup"

# A moved prefix: pkg-config finds it from its own files, the tool from its own place.
moved="$work/moved prefix"
mv "$work/pre fix" "$moved"
export PKG_CONFIG_PATH="$moved/Wörter/lib/pkgconfig"
# pkg-config escapes the spaces in its paths for a shell to read, as make's shell does.
eval "cc -o '$work/by-pkg-config' '$source/examples/linux/lookup.c' \
  $(pkg-config --cflags --libs orviadic) -Wl,-rpath,$(pkg-config --variable=libdir orviadic)"
lookups "$work/by-pkg-config"
expect 0 "The land alongside a river" "$moved/Wörter/bin/orviadic" lookup 0x00010101 bank
expect_no_registry "$moved/Wörter/bin/orviadic" "$work"

echo "$failures failed"
[ "$failures" = 0 ]

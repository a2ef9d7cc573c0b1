#!/usr/bin/env bash
# The Debian package: built by CPack from the build folder, it holds the libraries with
# their links, the headers, the files other builds find them by, the tool and its
# completion, and depends on what dpkg-shlibdeps found. Extracted into a scratch root,
# its tool compiles, installs and looks up a dictionary.
# usage: deb_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/expect.sh"

(cd "$work" && cpack --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(echo "$work"/orviadic_*.deb)
info=$(dpkg-deb --info "$deb")
grep -q "Depends:.*libc6 (" <<<"$info" || fail "the package does not depend on libc6"
# The C++ runtime, ncurses and zlib are linked in.
for dependency in "libstdc++6" "libncurses" "zlib1g"; do
  if grep -q "Depends:.*$dependency" <<<"$info"; then fail "the package depends on $dependency"; fi
done
contents=$(dpkg-deb --contents "$deb")
for file in usr/bin/orviadic usr/include/orviadic.h usr/include/orviadb.h \
  usr/lib/libOrviaDic.so.2 usr/lib/libOrviaDB.so.2 usr/lib/pkgconfig/orviadic.pc \
  usr/lib/pkgconfig/orviadb.pc usr/lib/cmake/OrviaDic/OrviaDicConfig.cmake \
  usr/share/bash-completion/completions/orviadic usr/share/man/man1/orviadic.1; do
  grep -q " \./$file\( \|$\)" <<<"$contents" || fail "the package lacks $file"
done

dpkg-deb -x "$deb" "$work/root"
tool="$work/root/usr/bin/orviadic"
install_word_list "$tool" "$source" "$work"
expect 0 "The land alongside a river" "$tool" lookup 0x00010101 bank
expect_no_registry "$tool" "$work"
echo "$failures failed"
[ "$failures" = 0 ]

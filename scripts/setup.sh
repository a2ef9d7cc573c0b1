#!/usr/bin/env bash
# Installs the Debian packages a job needs, when missing: the set "main" for the main job
# (the tool's build and GCIDE), the set "test" for the whole test suite (the main set,
# the test and benchmark libraries, clang for fuzzing, the Windows cross compilers and
# Wine, 32-bit Wine where it can run, FreeDict's Japanese-, German- and French-English
# dictionaries, valgrind, clang-tidy and cppcheck). Further package names given after the
# set are installed too.
# usage: setup.sh main|test [PACKAGE...]
set -euo pipefail

main=(build-essential cmake ninja-build ccache pkg-config libcli11-dev libncurses-dev
  nlohmann-json3-dev zlib1g-dev dict-gcide)
test=("${main[@]}" libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  libsqlite3-dev tmux dictd dict dictzip hyperfine help2man doxygen dict-freedict-jpn-eng
  dict-freedict-deu-eng dict-freedict-fra-eng valgrind clang-tidy cppcheck
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64)
set_name=${1:-}
case "$set_name" in
  main) packages=("${main[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: setup.sh main|test [PACKAGE...]" >&2; exit 2 ;;
esac
shift
packages+=("$@")

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

if [ "$set_name" = test ]; then
  # The 32-bit Windows tests run under 32-bit Wine, from the i386 architecture. Once
  # installed, Debian's wine starts every program with the 32-bit loader, so it goes only
  # where the kernel runs 32-bit programs (the i386 C library's loader answers), or no
  # Windows program would run at all. Elsewhere the 64-bit Windows build runs them all.
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  packages+=(libc6:i386)
fi
install_missing "${packages[@]}"
if [ "$set_name" = test ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  install_missing wine32:i386
fi

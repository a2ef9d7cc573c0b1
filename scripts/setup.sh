#!/usr/bin/env bash
# Installs the Debian packages a job needs, when missing: the set "main" for the main job
# (the tool's build and GCIDE), the set "test" for the whole test suite (the main set,
# the test and benchmark libraries, clang for fuzzing, the Windows cross compilers and
# Wine). Further package names given after the set are installed too.
# usage: setup.sh main|test [PACKAGE...]
set -euo pipefail

main=(build-essential cmake ninja-build ccache pkg-config libcli11-dev libncurses-dev
  zlib1g-dev dict-gcide)
test=("${main[@]}" libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  libsqlite3-dev tmux dictd dict dictzip hyperfine
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64)
case "${1:-}" in
  main) packages=("${main[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: setup.sh main|test [PACKAGE...]" >&2; exit 2 ;;
esac
shift
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, when missing;
# further package names given as arguments are installed too.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  clang libclang-rt-14-dev
  zlib1g-dev libsqlite3-dev libncurses-dev
  dict-gcide tmux
  dictd dict dictzip hyperfine
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
)
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

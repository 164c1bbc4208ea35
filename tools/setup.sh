#!/bin/bash
# Installs what building and testing need on a Debian 12 machine.
set -euo pipefail
packages=(cmake make g++ clang libclang-rt-14-dev libsqlite3-dev sqlite3 googletest libgtest-dev libbenchmark-dev
          g++-mingw-w64-x86-64-posix wine64 xvfb xauth fonts-wqy-microhei imagemagick dpkg-dev tcl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f '${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

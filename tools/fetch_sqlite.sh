#!/bin/bash
# Produces sqlite3.c/sqlite3.h in DEST from Debian's own sqlite3 source
# package, the same version as the native libsqlite3-dev. Cached: a second
# run with the files present does nothing.
set -euo pipefail
dest=${1:?usage: fetch_sqlite.sh DEST}
if [[ -f $dest/sqlite3.c && -f $dest/sqlite3.h ]]; then exit 0; fi
work=$dest/work
rm -rf "$work"; mkdir -p "$work/lists/partial"
src=/etc/apt/sources.list.d/debian.sources
[[ -f $src ]] || src=/etc/apt/sources.list
if [[ $src == *.sources ]]; then
  sed 's/^Types: deb$/Types: deb-src/' "$src" > "$work/src.sources"
  list=$work/src.sources
else
  sed -n 's/^deb /deb-src /p' "$src" > "$work/src.list"
  list=$work/src.list
fi
opts=(-o "Dir::Etc::SourceList=$list" -o Dir::Etc::SourceParts=/dev/null -o "Dir::State::Lists=$work/lists")
apt-get "${opts[@]}" -qq update
version=$(dpkg-query -W -f '${source:Version}' libsqlite3-dev 2>/dev/null || true)
pkg=sqlite3${version:+=$version}
( cd "$work" && apt-get "${opts[@]}" -qq source --download-only "$pkg" >/dev/null 2>&1 ) ||
  ( cd "$work" && apt-get "${opts[@]}" -qq source --download-only sqlite3 )
( cd "$work" && dpkg-source --no-check -x ./*.dsc tree >/dev/null )
( cd "$work/tree" && ./configure -q >/dev/null && make -s sqlite3.c >/dev/null 2>&1 )
cp "$work/tree/sqlite3.c" "$work/tree/sqlite3.h" "$dest/"
rm -rf "$work"

#!/usr/bin/env bash
# Makes the SQLite amalgamation (sqlite3.c, sqlite3.h) of the Windows build from Debian's
# own source package: `apt-get source sqlite3`, then the package's configure and its
# `make sqlite3.c` with the host compiler and tclsh. Usage: sqlite-amalgamation.sh DIR.
# DIR keeps the unpacked source and the result; a second run with both present does nothing.
# Needs a deb-src entry, dpkg-dev and tcl (scripts/install-deps.sh sets them up).
set -euo pipefail
dir=$1
out=$dir/amalgamation
[ -s "$out/sqlite3.c" ] && [ -s "$out/sqlite3.h" ] && exit 0
mkdir -p "$dir"
cd "$dir"
src=$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -1)
if [ -z "$src" ]; then
  echo "sqlite-amalgamation: apt-get source sqlite3 into $dir"
  apt-get source --only-source sqlite3 >source.log 2>&1 ||
    { tail -5 source.log >&2; echo "sqlite-amalgamation: apt-get source failed (run scripts/install-deps.sh)" >&2; exit 1; }
  src=$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -1)
  [ -n "$src" ] || { echo "sqlite-amalgamation: no unpacked source in $dir" >&2; exit 1; }
fi
command -v tclsh >/dev/null || { echo "sqlite-amalgamation: tclsh is missing (install tcl)" >&2; exit 1; }
rm -rf host-build
mkdir host-build
(
  cd host-build
  # The host's compiler builds the generators (lemon, mkkeywordhash...); tclsh joins the files.
  env -u CC -u CFLAGS ../"$src"/configure --disable-tcl >configure.log 2>&1 ||
    { tail -5 configure.log >&2; exit 1; }
  make sqlite3.c >make.log 2>&1 || { tail -5 make.log >&2; exit 1; }
)
mkdir -p "$out"
cp host-build/sqlite3.c host-build/sqlite3.h "$out/"
cp "$src/debian/copyright" "$out/copyright" 2>/dev/null || true
echo "sqlite-amalgamation: $(grep -m1 '#define SQLITE_VERSION ' "$out/sqlite3.h")"

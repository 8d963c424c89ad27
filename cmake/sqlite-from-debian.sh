#!/usr/bin/env bash
# Produces sqlite3.c and sqlite3.h in $1 from Debian's sqlite3 source package.
set -euo pipefail
out=$1
[ -f "$out/sqlite3.c" ] && [ -f "$out/sqlite3.h" ] && exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get source --download-only sqlite3 >/dev/null 2>&1 || {
    echo "apt-get source sqlite3 failed: run scripts/setup (it adds the deb-src entry)" >&2; exit 1; }
tar xf sqlite3_*.orig.tar.xz
src=$(find . -maxdepth 1 -type d -name 'sqlite3-*' -o -maxdepth 1 -type d -name 'sqlite-*' | head -n 1)
cd "$src"
./configure >/dev/null
make sqlite3.c >/dev/null
mkdir -p "$out"
cp sqlite3.c sqlite3.h "$out/"

#!/bin/bash
# Files of every kind compressed by the publisher's tool, for the system's LZ32.DLL to expand.
set -euo pipefail
d=$WINEPREFIX/drive_c/lz
mkdir -p "$d"
: >"$d/empty.txt"
printf Q >"$d/one.bin"
head -c 1048576 /dev/urandom >"$d/random.dat"
head -c 1048576 /dev/zero | tr '\0' '\245' >"$d/same.dat"
for i in $(seq 200); do printf 'Line %d: the quick brown fox jumps over the lazy dog.\r\n' "$i"; done >"$d/text.txt"
"$QUENBY_BUILD_DIR/../host/quenby-pack" compress "$d"/*.* >/dev/null

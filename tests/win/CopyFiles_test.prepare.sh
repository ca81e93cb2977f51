#!/bin/bash
# Sources compressed with mscompress, and a 1 MiB drive Q: for the full-disk cases.
set -euo pipefail
src=$WINEPREFIX/drive_c/lzsrc
mkdir -p "$src"
printf 'compressed text, compressed text, compressed text\r\n%.0s' $(seq 1 200) >"$src/comp.txt"
cp "$src/comp.txt" "$src/comp.orig"
printf 'plain text\r\n' >"$src/plain.txt"
head -c 409600 /dev/urandom >"$src/random.bin"
cp "$src/random.bin" "$src/random.orig"
(cd "$src" && mscompress comp.txt random.bin)
rm "$src/comp.txt" "$src/random.bin"

# The runner unmounts it before it removes the prefix.
small=$WINEPREFIX/smalldisk
mkdir -p "$small"
mount -t tmpfs -o size=1m tmpfs "$small"
ln -sfn ../smalldisk "$WINEPREFIX/dosdevices/q:"

#!/bin/bash
# A folder that no one can write to, not even root: a read-only bind mount inside the prefix
# (the Wine runner unmounts it before it removes the prefix).
set -eu
src=$WINEPREFIX/readonly-source
dst=$WINEPREFIX/drive_c/quenby-readonly
mkdir -p "$src" "$dst"
printf '[S]\r\nk=old\r\n' >"$src/existing.ini"
mountpoint -q "$dst" || { mount --bind "$src" "$dst" && mount -o remount,bind,ro "$dst"; }

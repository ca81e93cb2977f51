#!/bin/bash
# A folder that no one can write to, not even root: a read-only bind mount inside the prefix
# (the Wine runner unmounts it before it removes the prefix).
set -eu
src=$WINEPREFIX/readonly-source
dst=$WINEPREFIX/drive_c/quenby-readonly
# A preparation that fails or is interrupted takes its mount back (a prefix named by QUENBY_PREFIX is kept).
trap 'rc=$?; [ $rc -eq 0 ] || ! mountpoint -q "$dst" || umount "$dst"; exit $rc' EXIT
trap 'exit 130' INT; trap 'exit 143' TERM
mkdir -p "$src" "$dst"
printf '[S]\r\nk=old\r\n' >"$src/existing.ini"
mountpoint -q "$dst" || { mount --bind "$src" "$dst" && mount -o remount,bind,ro "$dst"; }

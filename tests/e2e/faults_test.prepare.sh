#!/bin/bash
# Drives for the media faults: F: a 1 MiB disk, R: a read-only mount; and a shared-file counter that
# another program stored as REG_DWORD. The runner unmounts both before it removes the prefix.
set -euo pipefail
small=$WINEPREFIX/smalldisk
locked=$WINEPREFIX/lockeddisk
# A preparation that fails or is interrupted takes its mounts back (a prefix named by QUENBY_PREFIX is kept).
trap 'rc=$?; [ $rc -eq 0 ] || for m in "$locked" "$small"; do ! mountpoint -q "$m" || umount "$m"; done; exit $rc' EXIT
trap 'exit 130' INT; trap 'exit 143' TERM
mkdir -p "$small"
mount -t tmpfs -o size=1m tmpfs "$small"
ln -sfn ../smalldisk "$WINEPREFIX/dosdevices/f:"
mkdir -p "$locked/Existing"
mount --bind "$locked" "$locked"
mount -o remount,bind,ro "$locked"
ln -sfn ../lockeddisk "$WINEPREFIX/dosdevices/r:"
/usr/lib/wine/wine64 reg add 'HKCU\Software\Norvale\Uninstall\Counters' /v shared.dll /t REG_DWORD /d 3 /f \
  >/dev/null 2>&1
/usr/lib/wine/wineserver -k; /usr/lib/wine/wineserver -w

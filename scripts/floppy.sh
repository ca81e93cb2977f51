#!/bin/bash
# Makes drive A: of the Wine prefix $WINEPREFIX a floppy drive with the disk FOLDER in it:
#
#   floppy.sh FOLDER          (or QUENBY_FLOPPY=FOLDER, as the Wine runner's prepare script)
#
# Run it before the program starts: the server reads the kinds of drives when it starts, so it is
# restarted here. Changing the disk later is only the link, as the demo and the tests do:
#   ln -sfn DISK2 "$WINEPREFIX/dosdevices/a:"
set -euo pipefail
folder=$(cd "${1:-${QUENBY_FLOPPY:?no folder given}}" && pwd)
ln -sfn "$folder" "$WINEPREFIX/dosdevices/a:"
cd "$WINEPREFIX"  # reg must not find a reg.exe of the caller's folder
WINEDEBUG=-all /usr/lib/wine/wine64 reg add 'HKLM\Software\Wine\Drives' /v a: /t REG_SZ /d floppy /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w

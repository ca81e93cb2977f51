#!/bin/bash
# The sample media as the sample's script lays them out (in $WINEPREFIX/media), the first disk of the
# compressed set in the floppy drive A:.
set -euo pipefail
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_SETUP_BUILD_DIR" "$WINEPREFIX/media" >/dev/null
bash "$QUENBY_SOURCE_DIR/scripts/floppy.sh" "$WINEPREFIX/media/orrery/disk1"
# Windows has the key of the machine-wide shared-file counts; a fresh Wine prefix has not, and the snapshots
# would show the one Setup makes.
/usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' /reg:64 /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k; /usr/lib/wine/wineserver -w

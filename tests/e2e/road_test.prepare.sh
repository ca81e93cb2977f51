#!/bin/bash
# The sample media as the sample's script lays them out (in $WINEPREFIX/media/orrery), and the same
# compressed set laid out again by the publisher's tool (media/packed) with room on disk 1 only for
# Setup.exe, the instructions, the start notices and the shared file; the first disk of the sample's
# set in the floppy drive A:.
set -euo pipefail
media=$WINEPREFIX/media
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_SETUP_BUILD_DIR" "$media" >/dev/null
mkdir -p "$media/flat"
cp -r "$media/orrery/disk1/." "$media/orrery/disk2/." "$media/flat/"
first=$(( $(find "$media/flat" -maxdepth 1 -type f \( -name Setup.exe -o -name Quenby.ipi -o -name license.txt \
  -o -name welcome.txt -o -name orrshare.dl_ \) -printf '%s+' ; echo 0) ))
"$QUENBY_BUILD_DIR/../host/quenby-pack" disks --size "$first" "$media/flat" "$media/packed" >/dev/null
bash "$QUENBY_SOURCE_DIR/scripts/floppy.sh" "$media/orrery/disk1"

#!/bin/bash
# The sample's compressed set gathered into one folder, then laid out on disks again by the publisher's
# tool (quenby-pack disks) with a disk size that splits it differently from the sample's own script;
# its first disk in the floppy drive A:.
set -euo pipefail
media=$WINEPREFIX/media
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_BUILD_DIR" "$media" >/dev/null
mkdir -p "$media/flat"
cp -r "$media/orrery/disk1/." "$media/orrery/disk2/." "$media/flat/"
# Room on the first disk for Setup.exe, the instructions, the start notices and the shared files only.
first=$(( $(find "$media/flat" -maxdepth 1 -type f \( -name Setup.exe -o -name Quenby.ipi -o -name license.txt \
  -o -name welcome.txt -o -name orrshare.dl_ -o -name Uninstall.ex_ \) -printf '%s+' ; echo 0) ))
"$QUENBY_BUILD_DIR/../host/quenby-pack" disks --size "$first" "$media/flat" "$media/packed" >/dev/null
bash "$QUENBY_SOURCE_DIR/scripts/floppy.sh" "$media/packed/disk1"

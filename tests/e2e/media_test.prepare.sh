#!/bin/bash
# The sample's compressed set (with its checksums) laid out again by the publisher's tool in
# $WINEPREFIX/media/packed, with room on disk 1 only for Setup.exe, the instructions, the start notices and
# the shared files; a copy of its disk 2 with one byte flipped in a compressed file (media/damaged/disk2);
# disk 1 in the floppy drive A:.
set -euo pipefail
media=$WINEPREFIX/media
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_SETUP_BUILD_DIR" "$media" >/dev/null
mkdir -p "$media/flat" "$media/damaged"
cp -r "$media/orrery/disk1/." "$media/orrery/disk2/." "$media/flat/"
first=$(( $(find "$media/flat" -maxdepth 1 -type f \( -name Setup.exe -o -name Quenby.ipi -o -name license.txt \
  -o -name welcome.txt -o -name orrshare.dl_ -o -name Uninstall.ex_ \) -printf '%s+' ; echo 0) ))
"$QUENBY_BUILD_DIR/../host/quenby-pack" disks --size "$first" "$media/flat" "$media/packed" >/dev/null
cp -r "$media/packed/disk2" "$media/damaged/"
perl -e 'open F, "+<", $ARGV[0] or die; binmode F; seek F, 20, 0; read F, $c, 1; seek F, 20, 0;
  print F chr(ord($c) ^ 1); close F' "$media/damaged/disk2/data/moons.tx_"
bash "$QUENBY_SOURCE_DIR/scripts/floppy.sh" "$media/packed/disk1"

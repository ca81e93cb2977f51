#!/bin/bash
# The sample's compressed two-disk set (with its checksums) in $WINEPREFIX/media/orrery, a copy of its disk 2
# with one byte flipped in a compressed file (media/damaged/disk2), and disk 1 in the floppy drive A:.
set -euo pipefail
media=$WINEPREFIX/media
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_SETUP_BUILD_DIR" "$media" >/dev/null
mkdir -p "$media/damaged"
cp -r "$media/orrery/disk2" "$media/damaged/"
perl -e 'open F, "+<", $ARGV[0] or die; binmode F; seek F, 20, 0; read F, $c, 1; seek F, 20, 0;
  print F chr(ord($c) ^ 1); close F' "$media/damaged/disk2/data/moons.tx_"
bash "$QUENBY_SOURCE_DIR/scripts/floppy.sh" "$media/orrery/disk1"

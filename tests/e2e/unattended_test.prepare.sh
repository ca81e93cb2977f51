#!/bin/bash
# The sample's compressed set laid out as one folder by quenby-pack image, as drive N:; drive M: for the
# answers files and logs (outside drive C:, which the snapshots walk); the set's first disk alone in A:.
set -euo pipefail
media=$WINEPREFIX/media
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_SETUP_BUILD_DIR" "$media" >/dev/null
"$QUENBY_BUILD_DIR/../host/quenby-pack" image "$media/orrery" "$media/net" >/dev/null
mkdir -p "$media/out"
ln -sfn "$media/net" "$WINEPREFIX/dosdevices/n:"
ln -sfn "$media/out" "$WINEPREFIX/dosdevices/m:"
# T: a drive of 16 KB, too small for the sample (the runner unmounts it before it removes the prefix).
mkdir -p "$WINEPREFIX/tinydisk"
mount -t tmpfs -o size=16k tmpfs "$WINEPREFIX/tinydisk"
ln -sfn ../tinydisk "$WINEPREFIX/dosdevices/t:"
bash "$QUENBY_SOURCE_DIR/scripts/floppy.sh" "$media/orrery/disk1"

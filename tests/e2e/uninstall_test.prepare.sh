#!/bin/bash
# The sample media as the sample's script lays them out (in $WINEPREFIX/media), the first disk of the
# compressed set in the floppy drive A:.
set -euo pipefail
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_SETUP_BUILD_DIR" "$WINEPREFIX/media" >/dev/null
bash "$QUENBY_SOURCE_DIR/scripts/floppy.sh" "$WINEPREFIX/media/orrery/disk1"

#!/bin/bash
# The sample media as the sample's script lays them out (in $WINEPREFIX/media/orrery), the first disk of
# its compressed set in the floppy drive A:.
set -euo pipefail
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_SETUP_BUILD_DIR" "$WINEPREFIX/media" >/dev/null
bash "$QUENBY_SOURCE_DIR/scripts/floppy.sh" "$WINEPREFIX/media/orrery/disk1"

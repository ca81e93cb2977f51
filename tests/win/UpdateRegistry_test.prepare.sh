#!/bin/bash
# A drive D: for a destination at the root of a drive.
set -euo pipefail
mkdir -p "$WINEPREFIX/drive_d"
ln -sfn ../drive_d "$WINEPREFIX/dosdevices/d:"

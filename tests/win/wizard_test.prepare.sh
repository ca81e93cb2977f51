#!/bin/bash
# Drive D: with a folder Apps for the destination tree.
set -eu
d=$WINEPREFIX/wizard-d
mkdir -p "$d/Apps/Old"
ln -sfn "$d" "$WINEPREFIX/dosdevices/d:"

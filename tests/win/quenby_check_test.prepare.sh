#!/bin/bash
# The sample media as scripts/make-sample.sh lays them out, in C:\qsample\out. Setup.exe
# and Uninstall.exe are only copied by these tests, never run: small stand-ins keep the disks small.
set -eu
build=$WINEPREFIX/drive_c/qsample/build
mkdir -p "$build"
cp "$QUENBY_BUILD_DIR/orrery.exe" "$QUENBY_BUILD_DIR/orrshare.dll" "$build/"
head -c 2048 "$QUENBY_BUILD_DIR/orrery.exe" >"$build/Setup.exe"
head -c 200 "$QUENBY_BUILD_DIR/orrery.exe" >"$build/Uninstall.exe"
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$build" "$WINEPREFIX/drive_c/qsample/out" >/dev/null

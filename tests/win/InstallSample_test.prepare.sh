#!/bin/bash
# The sample product's two disks, compressed as the sample's own script lays them out, with stand-ins
# for the built programs; the uncompressed originals beside them for comparison.
set -euo pipefail
media=$QUENBY_SOURCE_DIR/examples/orrery/media
root=$WINEPREFIX/drive_c/orrery
mkdir -p "$root/disk1" "$root/disk2/data" "$root/disk2/charts" "$root/expect"
cp "$media/Quenby.ipi" "$media/license.txt" "$media/welcome.txt" "$media/readme.txt" "$root/disk1/"
cp "$media/thanks.txt" "$media/readme.txt" "$root/disk2/"
head -c 30000 /dev/urandom >"$root/disk1/orrery.exe"
head -c 20000 /dev/urandom >"$root/disk1/orrshare.dll"
head -c 10000 /dev/urandom >"$root/disk1/Uninstall.exe"
cp "$media/planets.txt" "$media/moons.txt" "$root/disk2/data/"
cp "$media/ecliptic.txt" "$root/disk2/charts/"
cp "$root/disk1/orrery.exe" "$root/disk1/orrshare.dll" "$media/readme.txt" "$media/planets.txt" \
  "$media/moons.txt" "$media/ecliptic.txt" "$root/expect/"
for f in disk1/orrshare.dll disk1/Uninstall.exe disk1/orrery.exe disk1/readme.txt disk2/data/planets.txt disk2/data/moons.txt \
         disk2/charts/ecliptic.txt; do
  (cd "$root/$(dirname "$f")" && mscompress "$(basename "$f")" && b=$(basename "$f") && mv "${b}_" "${b%?}_" && rm "$b")
done

#!/bin/bash
# Makes the sample distribution media from examples/orrery (Setup.exe and the uninstaller it registers,
# Uninstall.exe, come from the Windows build):
#
#   make-sample.sh WINDOWS_BUILD_DIR OUT
#
# OUT/orrery/disk1, OUT/orrery/disk2: the compressed set (Expand=1), files compressed with mscompress
# under their classic names (orrery.exe -> orrery.ex_); OUT/orrery-plain/disk1, disk2: the same
# product uncompressed (Expand=0). Setup.exe, the instructions and the first notices are on disk 1;
# the closing notice and the add-on's read-me on disk 2, which is in the drive when they are used. Both
# sets carry [Checksums] in disk 1's Quenby.ipi, written by the native quenby-pack (QUENBY_PACK, by default
# the host tree's beside WINDOWS_BUILD_DIR), which then checks the set.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
pack=${QUENBY_PACK:-$build/../host/quenby-pack}
out=$2
media=$here/examples/orrery/media

rm -rf "$out/orrery" "$out/orrery-plain"
for set in orrery orrery-plain; do
  d1=$out/$set/disk1 d2=$out/$set/disk2
  mkdir -p "$d1" "$d2/data" "$d2/charts"
  cp "$build/Setup.exe" "$build/Uninstall.exe" "$d1/"
  cp "$media/license.txt" "$media/welcome.txt" "$d1/"
  cp "$media/thanks.txt" "$media/readme.txt" "$d2/"
  cp "$build/orrshare.dll" "$build/orrery.exe" "$media/readme.txt" "$d1/"
  cp "$media/planets.txt" "$media/moons.txt" "$d2/data/"
  cp "$media/ecliptic.txt" "$d2/charts/"
done

# Compressed set: each product and system file replaced by its compressed form.
compress() {  # FILE -> FILE with its last character replaced by "_"
  local f=$1
  rm -f "${f}_"
  mscompress "$f"
  mv "${f}_" "${f%?}_"
  rm "$f"
}
c=$out/orrery
for f in "$c/disk1/orrshare.dll" "$c/disk1/Uninstall.exe" "$c/disk1/orrery.exe" "$c/disk1/readme.txt" \
         "$c/disk2/data/planets.txt" "$c/disk2/data/moons.txt" "$c/disk2/charts/ecliptic.txt"; do
  compress "$f"
done
cp "$media/Quenby.ipi" "$c/disk1/"

# Plain set: the same instructions with expansion off and the sources under their own names.
sed -e 's/^Expand=1/Expand=0/' -e 's/\.ex_=/.exe=/' -e 's/\.tx_=/.txt=/' -e 's/\.dl_=/.dll=/' \
  "$media/Quenby.ipi" > "$out/orrery-plain/disk1/Quenby.ipi"
for set in orrery orrery-plain; do
  "$pack" checksums "$out/$set" >/dev/null
done
echo "sample media in $out/orrery and $out/orrery-plain"

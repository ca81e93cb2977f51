#!/bin/bash
# quenby-pack compress --ipi (the Windows build in QUENBY_TOOLS_DIR: the test tree's, or the shipped i686 one)
# on the sample's plain disks turned to Expand=1, the plain sources then taken away: the renamed set checks
# good with quenby-check and Setup.exe /VERYSILENT installs every file byte for byte as the plain set holds it.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUENBY_PREFIX=$work/prefix
run() { bash "$QUENBY_SOURCE_DIR/scripts/wine-run.sh" "$@" >>"$work/out" 2>&1; }
fail() { echo "compress_ipi_test: $1:"; cat "$work/out"; exit 1; }
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_BUILD_DIR" "$work" >/dev/null || exit 1
plain=$work/orrery-plain set=$work/set
cp -r "$plain" "$set"
sed -i 's/^Expand=0/Expand=1/' "$set/disk1/Quenby.ipi"
# Both separators, and the files of disk 2 named from the instructions' disk 1.
sources=(disk1/orrshare.dll disk1/Uninstall.exe disk1/orrery.exe disk1/readme.txt 'disk2\data\planets.txt'
  disk2/data/moons.txt disk2/charts/ecliptic.txt)
(cd "$set" && run "$QUENBY_TOOLS_DIR/quenby-pack.exe" compress --ipi 'disk1\Quenby.ipi' "${sources[@]}") ||
  fail "compress --ipi failed"
for f in "${sources[@]}"; do rm "$set/${f//\\//}"; done
"$QUENBY_BUILD_DIR/../host/quenby-pack" image "$set" "$work/net" >>"$work/out" 2>&1 || fail "the renamed set does not lay out"
(cd "$work" && run "$QUENBY_TOOLS_DIR/quenby-check.exe" --quiet net) || fail "quenby-check finds an error"
(cd "$work/net" && run "$work/net/Setup.exe" /VERYSILENT '/DIR=C:\Orrery') || fail "the installation failed"
c=$QUENBY_PREFIX/drive_c
for pair in disk1/orrshare.dll:windows/orrshare.dll disk1/Uninstall.exe:windows/Uninstall.exe \
  disk1/orrery.exe:Orrery/orrery.exe disk1/readme.txt:Orrery/readme.txt disk2/data/moons.txt:Orrery/data/moons.txt \
  disk2/data/planets.txt:Orrery/data/planets.txt disk2/charts/ecliptic.txt:Orrery/charts/ecliptic.txt; do
  cmp "$plain/${pair%%:*}" "$c/${pair#*:}" >>"$work/out" 2>&1 || fail "${pair#*:} is not installed as the plain ${pair%%:*}"
done
echo "compress_ipi_test: compressed, renamed, checked and installed byte for byte"

#!/bin/bash
# quenby-check (the Windows build, with its own hasher) on the sample's compressed disks, whose checksums the
# native packer wrote: good; then one byte flipped in a compressed file on disk 2 and a warning added: the
# --quiet report is that file's error alone, naming its disk, and the exit code is 1.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$QUENBY_SOURCE_DIR/scripts/make-sample.sh" "$QUENBY_BUILD_DIR" "$work" >/dev/null || exit 1
check() {  # the report in $work/report; returns the exit code
  bash "$QUENBY_SOURCE_DIR/scripts/wine-run.sh" "$QUENBY_BUILD_DIR/quenby-check.exe" --quiet \
    "Z:${work//\//\\}\\orrery" >"$work/report" 2>&1
}
fail() { echo "quenby_check_test: $1 (exit code $2):"; cat "$work/report"; exit 1; }

check; rc=$?
[ "$rc" = 0 ] && [ ! -s "$work/report" ] || fail "the sample as laid out does not check good" "$rc"

perl -e 'open F, "+<", $ARGV[0] or die; binmode F; seek F, 20, 0; read F, $c, 1; seek F, 20, 0;
  print F chr(ord($c) ^ 1); close F' "$work/orrery/disk2/data/moons.tx_"
sed -i '/^Color=Blue/a Greeting=Hello $NAME' "$work/orrery/disk1/Quenby.ipi"
check; rc=$?
expected="error: [Checksums] data\\moons.tx_: the file's bytes on disk 2 do not match its checksum"
[ "$rc" = 1 ] && [ "$(wc -l <"$work/report")" = 1 ] && grep -qF "$expected" "$work/report" ||
  fail "a flipped byte is not reported alone as expected ($expected)" "$rc"
echo "quenby_check_test: good set accepted, flipped byte on disk 2 reported"

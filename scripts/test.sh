#!/bin/bash
# The test command: prerequisites, the three builds, every test (native and under Wine) in one ctest, and
# beside it the demo headless with everything it promises. Arguments go to ctest, and then the demo is left
# out.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# The compilers first; Wine, X and the emulator install while the trees build, then the tests' template
# prefix is made.
bash "$here/scripts/setup.sh" build
(bash "$here/scripts/setup.sh" && bash "$here/scripts/wine-run.sh" --template) &
setup=$!
build_status=0
bash "$here/scripts/build.sh" || build_status=$?
wait "$setup"
[ "$build_status" -eq 0 ] || exit "$build_status"
build=${QUENBY_BUILD_ROOT:-$here/build}
times=$build/host/Testing/times.xml
# Each entry's time, slowest first, printed whether the run passed or not.
print_times() {
  [ -s "$times" ] || return 0
  echo "test: time of each ctest entry, slowest first (seconds):"
  sed -n 's/.*<testcase name="\([^"]*\)".* time="\([0-9.]*\)" status="\([a-z]*\)".*/\2 \1 \3/p' "$times" |
    sort -rn | awk '{ printf "%8.1f  %s%s\n", $1, $2, $3 == "run" ? "" : "  (" $3 ")" }'
}
rm -f "$times"
# The demo runs beside the tests: most of its minute is the installer's own pauses.
demo=
demo_log=$build/demo.log
if [ $# -eq 0 ]; then
  env -u DISPLAY bash "$here/scripts/demo.sh" >"$demo_log" 2>&1 &
  demo=$!
fi
status=0
# Three at a time even on two cores: the Wine tests spend much of their time waiting (the installer's own
# pauses, the X server), and two at a time left a quarter of the processor idle.
ctest --test-dir "$build/host" --output-on-failure --output-junit "$times" -j "${QUENBY_TEST_JOBS:-3}" "$@" || status=$?
print_times
[ -n "$demo" ] || exit "$status"
demo_status=0
wait "$demo" || demo_status=$?
cat "$demo_log"
[ "$status" -eq 0 ] || exit "$status"
[ "$demo_status" -eq 0 ] || { echo "test: the demo failed ($demo_status)" >&2; exit "$demo_status"; }
out=$here/out/demo
shots=$(find "$out/shots" -name '*.png' | wc -l)
fail() { echo "test: the demo $1" >&2; exit 1; }
[ "$shots" -eq 15 ] || fail "made $shots screenshots, not 15"
[ -s "$out/contact-sheet.png" ] || fail "made no contact sheet"
grep -q '^  UninstallString=' "$out/report.txt" || fail "reported no complete installation"
# After the removal only the uninstaller's copy (and its folder) may differ from the fresh prefix: it
# waits for the restart.
left=$(sed -n '/^== After Uninstall.exe/,$p' "$out/report.txt" | grep '^[+-] ' | grep -v '^+ ./windows/temp/Quenby-' || true)
grep -q '^== After Uninstall.exe' "$out/report.txt" || fail "reported no removal"
[ -z "$left" ] || fail "left behind after the removal: $left"
echo "test: the demo installed and removed the sample; see $out"

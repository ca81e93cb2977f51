#!/bin/bash
# The test command: prerequisites, the three builds, every test (native and under Wine) in one ctest, then
# the demo headless with everything it promises. Arguments go to ctest, and then the demo is left out.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build=${QUENBY_BUILD_ROOT:-$here/build}
ctest --test-dir "$build/host" --output-on-failure -j "${QUENBY_TEST_JOBS:-2}" "$@"
[ $# -eq 0 ] || exit 0
env -u DISPLAY bash "$here/scripts/demo.sh"
out=$here/out/demo
shots=$(find "$out/shots" -name '*.png' | wc -l)
fail() { echo "test: the demo $1" >&2; exit 1; }
[ "$shots" -eq 12 ] || fail "made $shots screenshots, not 12"
[ -s "$out/contact-sheet.png" ] || fail "made no contact sheet"
grep -q '^  UninstallString=' "$out/report.txt" || fail "reported no complete installation"
echo "test: the demo installed the sample; see $out"

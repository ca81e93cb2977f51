#!/bin/bash
# The test command: prerequisites, the three builds, every test (native and under Wine, the headless demo
# with everything it promises among them) in one ctest. Arguments go to ctest.
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
status=0
# Three at a time even on two cores: the Wine tests spend much of their time waiting (the installer's own
# pauses, the X server), and two at a time left a quarter of the processor idle.
ctest --test-dir "$build/host" --output-on-failure --output-junit "$times" -j "${QUENBY_TEST_JOBS:-3}" "$@" || status=$?
print_times
exit "$status"

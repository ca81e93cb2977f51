#!/bin/bash
# Builds the three trees: native (portable rules and tests), x86_64 Windows (tests under Wine)
# and i686 Windows (the shipped Setup.exe).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${QUENBY_BUILD_ROOT:-$here/build}
jobs=${QUENBY_JOBS:-$(nproc)}
# The x86_64 tree's road and planting tests run a second time on the i686 tree's Setup.exe.
cmake -S "$here" -B "$build/win64" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64.cmake" -DQUENBY_SHIPPED_BUILD_DIR="$build/win32" >/dev/null
cmake -S "$here" -B "$build/win32" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" >/dev/null
cmake -S "$here" -B "$build/host" -DCMAKE_BUILD_TYPE=Debug \
  -DQUENBY_WINDOWS_TESTS_DIR="$build/win64" -DQUENBY_SHIPPED_BUILD_DIR="$build/win32" >/dev/null
# One make over the three trees shares the jobs among them, so that no core waits while one tree links
# its last programs.
printf 'all: host win64 win32\nhost win64 win32:\n\t+@$(MAKE) --no-print-directory -C %s/$@\n' "$build" |
  make -j "$jobs" -f -

#!/bin/bash
# The test command: prerequisites, the three builds, then every test (native and under Wine) in one ctest.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build=${QUENBY_BUILD_ROOT:-$here/build}
ctest --test-dir "$build/host" --output-on-failure -j "${QUENBY_TEST_JOBS:-2}" "$@"

#!/bin/bash
# The benchmarks, in one run under Wine: start-up and copy step of Setup.exe (tools/quenby_bench.cpp),
# the directory tree's expansion (tools/tree_bench.cpp), an unattended installation against a bare copier
# (tools/unattended_bench.cpp), and the size and imports of the shipped i686
# Setup.exe. Rewrites the measured section at the top of BENCHMARKS.md; the notes below it stay.
#
#   bash scripts/bench.sh [TREE_FOLDERS...]     (default 500 1000 5000)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${QUENBY_BUILD_ROOT:-$here/build}
folders=${*:-500 1000 5000}
jobs=${QUENBY_JOBS:-2}
cmake -S "$here" -B "$build/win64" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64.cmake" >/dev/null
cmake -S "$here" -B "$build/win32" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build/win64" -j "$jobs" --target Setup quenby_bench tree_bench unattended_bench >/dev/null
cmake --build "$build/win32" -j "$jobs" --target Setup >/dev/null

setup_win=$(echo "Z:$build/win64/Setup.exe" | tr / '\\')
load_before=$(cut -d' ' -f1 /proc/loadavg)
runs=$(mktemp)
tree=$(mktemp)
unattended=$(mktemp)
bash "$here/scripts/wine-run.sh" "$build/win64/quenby_bench.exe" "$setup_win" 3 10 | grep '^|' >"$runs"
# shellcheck disable=SC2086
bash "$here/scripts/wine-run.sh" "$build/win64/tree_bench.exe" $folders | grep '^|' >"$tree"
bash "$here/scripts/wine-run.sh" "$build/win64/unattended_bench.exe" "$setup_win" 200 7 | grep '^|' >"$unattended"
exe=$build/win32/Setup.exe
size=$(stat -c %s "$exe")
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')

section=$(mktemp)
{
  echo "<!-- made by scripts/bench.sh; everything up to the end marker is rewritten by it -->"
  echo "## Measured side by side ($(date -u +%Y-%m-%d), Wine $(/usr/lib/wine/wine64 --version 2>/dev/null), $(nproc) cores)"
  echo
  echo "    bash scripts/bench.sh $folders"
  echo
  echo "Setup.exe is the x86_64 build, driven from outside by the GUI driver; the shipped i686 build runs"
  echo "through 32-bit Wine, whose loader runs under qemu emulation where the kernel cannot start 32-bit"
  echo "programs, so its times would be figures of the emulation, not of the program. Times are as the"
  echo "driver's polling sees them. The copy step's time per file is the time between two"
  echo "files appearing in its source label (copy + pause + repaint)."
  echo
  echo "| measure | measured | reference | ratio |"
  echo "|---|---|---|---|"
  cat "$runs"
  echo "| stripped i686 \`Setup.exe\` | $size bytes | imports: $imports| |"
  echo
  echo "Expanding a folder of N subfolders, each holding one (\`tools/tree_bench.cpp\`), against a bare loop"
  echo "making the same searches and insertions; eleven alternate runs of each, the best times, and the median"
  echo "of the runs' ratios:"
  echo
  cat "$tree"
  echo
  echo "An unattended installation (\`Setup.exe /VERYSILENT /DIR=...\`, \`tools/unattended_bench.cpp\`) against a bare"
  echo "program that copies (or expands through LZ32) the same files, and against the same program when it also"
  echo "asks Program Manager for the group and item that Setup.exe asks for; all started as processes, each on a"
  echo "quiet machine, timed to their end; seven runs in turn, the best times and the median of the runs' ratios:"
  echo
  echo "| files | Setup.exe /VERYSILENT (best) | bare copier (best) | median ratio | bare copier and group (best) | median ratio |"
  echo "|---|---|---|---|---|---|"
  cat "$unattended"
  echo
  echo "Load average over the last minute (other work on the shared machine): $load_before before the run,"
  echo "$(cut -d' ' -f1 /proc/loadavg) after it, on $(nproc) cores; above the core count the times are taken"
  echo "under load."
  echo "<!-- end of scripts/bench.sh -->"
} >"$section"

out=$here/BENCHMARKS.md
notes=$(mktemp)
if grep -q '<!-- end of scripts/bench.sh -->' "$out"; then
  sed '1,/<!-- end of scripts\/bench.sh -->/d' "$out" >"$notes"
else
  tail -n +2 "$out" >"$notes"  # everything after the title
fi
{ echo "# Benchmarks"; echo; cat "$section"; cat "$notes"; } >"$out"
rm -f "$runs" "$tree" "$unattended" "$section" "$notes"
echo "bench: wrote $out"

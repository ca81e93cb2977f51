#!/bin/bash
# The benchmarks, in one run under Wine: start-up and copy step of Setup.exe (tools/quenby_bench.cpp),
# the directory tree's expansion (tools/tree_bench.cpp), an unattended installation against a bare copier
# (tools/unattended_bench.cpp), the shipped i686 Setup.exe against an NSIS installer of the same files
# (tools/nsis_bench.cpp), and the size and imports of the shipped i686
# Setup.exe. Rewrites the measured section at the top of BENCHMARKS.md; the notes below it stay.
#
#   bash scripts/bench.sh [TREE_FOLDERS...]     (default 500 1000 5000)
#   bash scripts/bench.sh --nsis [PAIRS]        (only Setup.exe against NSIS, default 9 pairs; rewrites
#                                                only its part of the measured section)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${QUENBY_BUILD_ROOT:-$here/build}
jobs=${QUENBY_JOBS:-2}
only_nsis=0
pairs=9
if [ "${1:-}" = --nsis ]; then
  only_nsis=1
  pairs=${2:-9}
  set --
fi
folders=${*:-500 1000 5000}
cmake -S "$here" -B "$build/win64" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64.cmake" >/dev/null
cmake -S "$here" -B "$build/win32" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" >/dev/null
if [ "$only_nsis" = 1 ]; then
  cmake --build "$build/win64" -j "$jobs" --target nsis_bench >/dev/null
else
  cmake --build "$build/win64" -j "$jobs" --target Setup quenby_bench tree_bench unattended_bench nsis_bench >/dev/null
fi
cmake --build "$build/win32" -j "$jobs" --target Setup >/dev/null

load_before=$(cut -d' ' -f1 /proc/loadavg)
# The peer: Debian's NSIS, installed here for the benchmark only.
if ! command -v makensis >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends nsis >/dev/null
fi
# The same files for both: FILES of 64 KiB, each different, then an NSIS installer of them that does what
# Setup.exe does for its medium (tools/nsis_bench.cpp lays that out from the same folder): no compression,
# an uninstaller and its entry, one Start Menu link.
nsis_work=$build/nsis-bench
rm -rf "$nsis_work"
mkdir -p "$nsis_work/files"
files=200
for ((i = 0; i < files; i++)); do
  head -c 65536 < <(yes "file $i of the NSIS comparison") >"$nsis_work/files/file$i.bin"
done
{
  cat <<'NSI'
Unicode true
Name "NBench NSIS"
OutFile "nbench-nsis.exe"
InstallDir "C:\nbench-nsis"
RequestExecutionLevel admin
SetCompress off
Section
  SetOutPath "$INSTDIR"
NSI
  for ((i = 0; i < files; i++)); do echo "  File \"files/file$i.bin\""; done
  cat <<'NSI'
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\NBench NSIS" "DisplayName" "NBench NSIS"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\NBench NSIS" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  CreateDirectory "$SMPROGRAMS\NBench NSIS"
  CreateShortCut "$SMPROGRAMS\NBench NSIS\NBench File.lnk" "$INSTDIR\file0.bin"
SectionEnd
Section "Uninstall"
  Delete "$SMPROGRAMS\NBench NSIS\NBench File.lnk"
  RMDir "$SMPROGRAMS\NBench NSIS"
  DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\NBench NSIS"
  Delete "$INSTDIR\file*.bin"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
NSI
} >"$nsis_work/nbench.nsi"
(cd "$nsis_work" && makensis -V2 nbench.nsi >makensis.log) || { cat "$nsis_work/makensis.log"; exit 1; }
windows_path() { echo "Z:$1" | tr / '\\'; }
nsis=$(mktemp)
bash "$here/scripts/wine-run.sh" "$build/win64/nsis_bench.exe" "$(windows_path "$nsis_work/nbench-nsis.exe")" \
  "$(windows_path "$build/win32/Setup.exe")" "$(windows_path "$nsis_work/files")" "$pairs" >"$nsis" ||
  { cat "$nsis"; exit 1; }
grep '^pair' "$nsis" || true
nsis_block=$(mktemp)
{
  echo "<!-- Setup.exe against NSIS: bash scripts/bench.sh --nsis rewrites from here to its end -->"
  echo "The shipped i686 \`Setup.exe /VERYSILENT\` against an installer made by NSIS $(makensis -VERSION) from the"
  echo "same $files files of 64 KiB (\`tools/nsis_bench.cpp\`, run $(date -u +%Y-%m-%d)): NSIS without compression, writing its"
  echo "uninstaller, an uninstall entry and one Start Menu link, started with \`/S /D=...\`; \`Setup.exe\` from an"
  echo "uncompressed medium of the same files with one item. Both are 32-bit programs, so both run through the"
  echo "emulated 32-bit loader (the times are figures of the emulation, the ratio is the comparison). Each started"
  echo "from a 64-bit program with a Notepad window holding Wine's desktop, on a quiet machine, timed from process"
  echo "creation to exit; $pairs alternating pairs into a new folder each, then $pairs pairs installing again over"
  echo "one folder each. Medians (range), and the median of the pairs' ratios:"
  echo
  echo "| run | NSIS \`/S\` | Setup.exe \`/VERYSILENT\` | Setup.exe / NSIS |"
  echo "|---|---|---|---|"
  grep '^|' "$nsis"
  echo
  echo "Load average over the last minute: $(cut -d' ' -f1 /proc/loadavg) after this part, on $(nproc) cores."
  echo "<!-- end of Setup.exe against NSIS -->"
} >"$nsis_block"
rm -f "$nsis"

out=$here/BENCHMARKS.md
if [ "$only_nsis" = 1 ]; then
  # Only this part of the measured section: the block replaced, or put before the section's end.
  updated=$(mktemp)
  if grep -q '<!-- end of Setup.exe against NSIS -->' "$out"; then
    awk -v block="$nsis_block" '
      /^<!-- Setup.exe against NSIS/ { while ((getline line < block) > 0) print line; skip = 1; next }
      skip && /^<!-- end of Setup.exe against NSIS -->/ { skip = 0; next }
      !skip' "$out" >"$updated"
  elif grep -q '<!-- end of scripts/bench.sh -->' "$out"; then
    awk -v block="$nsis_block" '
      /^<!-- end of scripts\/bench.sh -->/ { print ""; while ((getline line < block) > 0) print line; print "" }
      { print }' "$out" >"$updated"
  else
    { cat "$out"; echo; cat "$nsis_block"; } >"$updated"
  fi
  cat "$updated" >"$out"
  rm -f "$updated" "$nsis_block"
  echo "bench: wrote $out"
  exit 0
fi

setup_win=$(echo "Z:$build/win64/Setup.exe" | tr / '\\')
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
  cat "$nsis_block"
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
rm -f "$runs" "$tree" "$unattended" "$nsis_block" "$section" "$notes"
echo "bench: wrote $out"

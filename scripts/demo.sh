#!/bin/bash
# The demo: installs the bundled sample product (examples/orrery) with the shipped i686 Setup.exe under
# Wine, from the floppy drive A: of a Wine prefix of its own (build/wine/demo, made anew each time), the
# second disk put into the drive when Setup.exe asks for it.
#
#   bash scripts/demo.sh
#
# With a display (DISPLAY set) you click through the installation yourself, in a Wine desktop window;
# at the prompt for the next disk press Enter in this terminal (the script changes the disk), then Next.
# Without a display the driver makes a complete installation inside Xvfb, then removes it again with
# Uninstall.exe, and leaves, in out/demo/: shots/ (a screenshot of every page and of the uninstaller's
# windows), contact-sheet.png (all of them on one sheet) and report.txt (what was installed, and what
# the removal left).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
# The shipped i686 Setup.exe and the sample product from build/win32; the x86_64 driver and report tool
# from build/win64 (the driver, a 64-bit program, makes the desktop that the 32-bit Setup.exe shows on).
# The test command has built them already (QUENBY_DEMO_BUILT).
root=${QUENBY_BUILD_ROOT:-$here/build}
build=$root/win64 shipped=$root/win32
jobs=${QUENBY_JOBS:-$(nproc)}
[ -n "${QUENBY_DEMO_BUILT:-}" ] || {
  bash scripts/setup.sh
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64.cmake" >/dev/null
  cmake --build "$build" -j "$jobs" --target quenby_drive install_report demo_check
  cmake -S "$here" -B "$shipped" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$shipped" -j "$jobs" --target Setup Uninstall orrery orrshare
  # The native packer writes the sample's checksums.
  cmake -S "$here" -B "$root/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/host" -j "$jobs" --target quenby-pack
}

media=$shipped/demo-media
bash scripts/make-sample.sh "$shipped" "$media"
disk1=$media/orrery/disk1 disk2=$media/orrery/disk2
export QUENBY_PREFIX=$root/wine/demo
rm -rf "$QUENBY_PREFIX"

out=$here/out/demo
if [ -n "${DISPLAY:-}" ]; then
  QUENBY_FLOPPY=$disk1 QUENBY_PREPARE=$here/scripts/floppy.sh QUENBY_SETUP='A:\Setup.exe' \
    bash scripts/wine-run.sh "$build/quenby_drive.exe" run 'A:\' "$out/shots" exit:0 &
  setup=$!
  echo "demo: Setup.exe runs from drive A: (disk 1). When it asks for the next disk, press Enter here."
  while kill -0 "$setup" 2>/dev/null; do
    if [ -t 0 ] && read -r -t 1; then
      ln -sfn "$disk2" "$QUENBY_PREFIX/dosdevices/a:"
      echo "demo: disk 2 is in drive A: now; press Next in the installer."
      break
    fi
    [ -t 0 ] || sleep 1
  done
  wait "$setup"
  exit
fi

rm -rf "$out"
mkdir -p "$out/shots"
QUENBY_FLOPPY=$disk1 QUENBY_PREPARE=$here/scripts/floppy.sh \
  bash scripts/wine-run.sh "$build/demo_check.exe" before "Z:$out/before.snapshot" >/dev/null
destination='C:\Program Files\Orrery'
notices='Please read the following notices carefully, they contain important commercial and technical information.'
destination_page='Please accept the default path displayed or select a different path to install Orrery 1.4 on your computer.'
names='Please follow the instructions provided with your software to fill in your registration name and organization fields.'
# Each argument after "run" is one step of the driver (tools/quenby_drive.cpp lists them).
QUENBY_FLOPPY=$disk1 QUENBY_PREPARE=$here/scripts/floppy.sh QUENBY_SETUP='A:\Setup.exe' \
  bash scripts/wine-run.sh "$build/quenby_drive.exe" run 'A:\' "$out/shots" \
  wait:TWaitDialog sleep:500 snap:01-splash \
  wait:TMainWindow sleep:300 snap:02-backdrop \
  wait:TMainDialog shot:03-welcome \
  press:NextBut "expect:InfoLabel=$notices" 'has:InfoMemo=ORRERY 1.4 - LICENCE' shot:04-notice-licence \
  press:NextBut 'has:InfoMemo=WELCOME TO ORRERY' shot:05-notice-welcome \
  press:NextBut "expect:InfoLabel=$names" \
  click:EditName sleep:300 "type:EditName=Ann Orbit" "expect:EditName=Ann Orbit" \
  click:EditOrg sleep:300 "type:EditOrg=Star Gazers Ltd." "expect:EditOrg=Star Gazers Ltd." shot:06-user \
  press:NextBut "expect:InfoLabel=$destination_page" \
  'tree:DirTree=C:\Program Files' "expect:EditPath=$destination" shot:07-destination \
  press:NextBut \
  'expect:ProgressLabel=Please insert the next disk and press ok to continue or cancel to exit the installation.' \
  shot:08-disk-prompt \
  "host:ln -sfn '$disk2' \"\$WINEPREFIX/dosdevices/a:\"" \
  press:NextBut 'expect:InfoLabel=Orrery 1.4 was installed successfuly. Please select next to continue.' \
  'close:Brightwater Orrery' shot:09-readme-opened 'close:readme.txt - Notepad' shot:10-installed \
  press:NextBut 'has:InfoMemo=THANK YOU FOR INSTALLING ORRERY' shot:11-closing-notice \
  press:NextBut 'expect:InfoLabel=Quenby has installed Orrery 1.4 successfully, congratulations.' shot:12-finish \
  press:NextBut exit

bash scripts/wine-run.sh "$build/install_report.exe" "Z:$disk1/Quenby.ipi" "$destination" "Z:$out/report.txt" \
  >/dev/null

# The removal, as the uninstall command starts it; both shared files (the sample's library and the
# uninstaller itself) are no longer used, so both are offered for removal.
QUENBY_SETUP='C:\windows\Uninstall.exe' QUENBY_ARGS=$destination \
  bash scripts/wine-run.sh "$build/quenby_drive.exe" run 'C:\' "$out/shots" \
  'wait:#32770=Uninstall' shot:13-uninstall-confirm msgbox:6 \
  'wait:#32770=Remove Shared File?' shot:14-uninstall-shared-file msgbox:6 'wait:#32770=Remove Shared File?' msgbox:6 \
  'wait:#32770=Uninstall' shot:15-uninstall-done msgbox exit
# By file (fonts-dejavu-core, from setup.sh): ImageMagick's default font is missing without Ghostscript's.
montage -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -label '%t' "$out"/shots/*.png -tile 4x \
  -geometry 512x384+8+8 -pointsize 16 \
  -title 'Quenby 3.2 installing Orrery 1.4 from two disks, then removing it' "$out/contact-sheet.png"
# What differs after the removal is added to the report; anything but the uninstaller's waiting copy, a
# screenshot missing or an incomplete installation fails the demo.
bash scripts/wine-run.sh "$build/demo_check.exe" after "Z:$out/before.snapshot" "Z:$out/report.txt" "Z:$out/shots"
rm -f "$out/before.snapshot"
echo "demo: screenshots in $out/shots, contact sheet $out/contact-sheet.png, report $out/report.txt"

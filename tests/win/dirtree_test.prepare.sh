#!/bin/bash
# Extra drive letters of each kind for the directory tree test, over folders made here.
set -eu
trap 'echo "${BASH_SOURCE[0]}: line $LINENO failed" >&2' ERR
W=/usr/lib/wine/wine64
WS=/usr/lib/wine/wineserver
d=$WINEPREFIX/treedrives
mkdir -p "$d"/hd/{Alpha/Deep/Deeper,beta,Gamma/g1,Hidden1,System1,HiddenSys/hs1,Recycled/Trash/Inner}
touch "$d"/hd/file.txt
# A folder the shell customises (it is marked system in the test).
printf '[.ShellClassInfo]\r\nIconFile=C:\\windows\\system32\\shell32.dll\r\nIconIndex=5\r\n' \
  >"$d"/hd/System1/desktop.ini
mkdir -p "$d"/floppy/Disk1/Sub "$d"/cdrom/Cd1 "$d"/net/{Share1/Inner,Share2} "$d"/ram/Hid
touch "$d"/ram/ram.txt
printf 'HDLABEL' >"$d"/hd/.windows-label
for pair in e:cdrom f:floppy h:hd n:net r:ram; do
  ln -sfn "$d/${pair#*:}" "$WINEPREFIX/dosdevices/${pair%%:*}:"
done
cd "$d"
for pair in e:cdrom f:floppy h:hd n:network r:ramdisk; do
  "$W" reg add 'HKLM\Software\Wine\Drives' /v "${pair%%:*}:" /t REG_SZ /d "${pair#*:}" /f >/dev/null 2>&1
done
# The server reads the drive kinds when it starts; it may have gone already on its own.
"$WS" -k 2>/dev/null || true
"$WS" -w

#!/bin/bash
# Runs one Windows program of the project under wine64, in a prefix of its own inside the build tree.
#
#   wine-run.sh PROGRAM.exe [ARGS...]
#   wine-run.sh --template        (only makes the template prefix, when it is not there yet)
#
# The first run makes a template prefix (wineboot, crash debugger off); every run works in a fresh copy
# of it unless QUENBY_PREFIX names a prefix to use (made from the template when missing, kept afterwards).
# With 32-bit Wine installed the template must hold its 32-bit half (windows/syswow64): one made before
# is made again. A 32-bit program (the shipped Setup.exe) is started by a 64-bit one, the driver, which
# makes the desktop first: a 32-bit process under emulation cannot start the desktop process itself.
# Without a DISPLAY the run happens inside its own Xvfb. On every exit, an interrupted one included, only
# this prefix's wineserver is stopped (no process is ever killed by name), and a prefix that is not kept
# is removed with the mounts made inside it. The program's output is written to a file and shown
# afterwards, because Wine's helper processes would otherwise hold a pipe open. QUENBY_WINEDEBUG, when set,
# is Wine's debug channel list for the run (for example +timestamp,+loaddll); it is off otherwise.
set -u
W=/usr/lib/wine/wine64
WS=/usr/lib/wine/wineserver
here=$(cd "$(dirname "$0")/.." && pwd)
root=${QUENBY_WINE_ROOT:-$here/build/wine}
template=$root/template
export WINEDEBUG=${QUENBY_WINEDEBUG:--all}
# QUENBY_DLLOVERRIDES adds to the overrides: a test that needs Windows' DLL search order asks for a native DLL.
export WINEDLLOVERRIDES=winemenubuilder.exe=d${QUENBY_DLLOVERRIDES:+;$QUENBY_DLLOVERRIDES}
mkdir -p "$root"

if [ -z "${DISPLAY:-}" ]; then
  # One X server for this run, with the screen the screenshots expect. Runs started together would look
  # for a free display from the same number and race for it: each starts from its own.
  exec xvfb-run -a -n $((100 + $$ % 900)) -s "-screen 0 ${QUENBY_SCREEN:-1024x768x24}" "$0" "$@"
fi

prefix=
out=
keep=1
finish() {
  local rc=$?
  if [ -n "$prefix" ]; then
    WINEPREFIX=$prefix "$WS" -k 2>/dev/null; WINEPREFIX=$prefix "$WS" -w 2>/dev/null
  fi
  if [ -n "$out" ]; then cat "$out"; rm -f "$out"; fi
  if [ -n "$prefix" ] && [ "$keep" != 1 ]; then
    # Mounts a prepare script made inside the prefix (read-only or size-limited folders) go first,
    # innermost first, or the removal would fail on them.
    awk -v p="$prefix/" 'index($2, p) == 1 { print $2 }' /proc/mounts | sort -r | while read -r m; do
      umount "$m" || umount -l "$m"
    done
    rm -rf "$prefix"
  fi
  exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT; trap 'exit 143' TERM; trap 'exit 129' HUP

# Without its 32-bit half every 32-bit program of the prefix fails to load kernel32.dll. Debian's Wine
# never finds its own fonts (fonts-wine): it asks for "Z:\usr\share\wine\../fonts", a name the file
# system refuses. Without a copy in the prefix's Fonts folder, where the Fonts key's bare file names point,
# "MS Sans Serif" becomes DejaVu Sans, wider, and the forms' texts need more lines than their labels hold.
wine_fonts=/usr/share/wine/fonts
template_ready() {
  [ -f "$template/.ready" ] || return 1
  # Windows has the key of the machine-wide shared-file counts; a fresh Wine prefix has not.
  grep -q 'CurrentVersion\\\\SharedDLLs\]' "$template/system.reg" || return 1
  [ ! -e /usr/lib/wine/wine ] || [ -f "$template/drive_c/windows/syswow64/kernel32.dll" ] || return 1
  [ ! -e "$wine_fonts/sserife.fon" ] || [ -f "$template/drive_c/windows/Fonts/sserife.fon" ]
}
make_template() {
  (
    flock 9
    # An interrupted boot leaves no half-made template and no server behind.
    trap 'template_ready || { WINEPREFIX=$template $WS -k 2>/dev/null; rm -rf "$template"; }' EXIT
    trap 'exit 130' INT; trap 'exit 143' TERM; trap 'exit 129' HUP
    if ! template_ready; then
      rm -rf "$template"
      WINEPREFIX=$template $W wineboot -i >"$root/wineboot.log" 2>&1
      cp "$wine_fonts"/* "$template/drive_c/windows/Fonts/" >>"$root/wineboot.log" 2>&1
      WINEPREFIX=$template $W reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /t REG_SZ /d false /f >>"$root/wineboot.log" 2>&1
      # Without a window manager (bare Xvfb) Wine waits on every hidden window unless it manages them itself.
      WINEPREFIX=$template $W reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >>"$root/wineboot.log" 2>&1
      WINEPREFIX=$template $W reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' /reg:64 /f \
        >>"$root/wineboot.log" 2>&1
      WINEPREFIX=$template $WS -k; WINEPREFIX=$template $WS -w
      touch "$template/.ready"
    fi
  ) 9>"$root/template.lock"
}
make_template
[ "${1:-}" != --template ] || exit 0

if [ -n "${QUENBY_PREFIX:-}" ]; then
  prefix=$QUENBY_PREFIX
  [ -d "$prefix/drive_c" ] || { mkdir -p "$prefix"; cp -a "$template/." "$prefix/"; }
else
  keep=${QUENBY_KEEP_PREFIX:-0}
  prefix=$(mktemp -d "$root/run.XXXXXX")
  cp -a "$template/." "$prefix/"
fi
export WINEPREFIX=$prefix
if [ -n "${QUENBY_PREPARE:-}" ]; then
  # Set up drives, mounts or registry for the test before the program starts (WINEPREFIX is set).
  bash "$QUENBY_PREPARE" || { echo "wine-run: $QUENBY_PREPARE failed"; exit 1; }
fi
out=$(mktemp "$root/out.XXXXXX")
# In the background, so that a signal reaches the traps while the program runs.
"$W" "$@" >"$out" 2>&1 </dev/null &
wait $!

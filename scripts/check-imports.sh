#!/bin/bash
# The shipped Setup.exe may import only DLLs that Windows loads from its own protected list (KnownDLLs),
# never from the program's folder: nothing that could be planted beside it on the medium and loaded in
# its place. Other system libraries (LZ32, COMCTL32) are loaded at run time from the system folder.
set -euo pipefail
exe=$1
[ -f "$exe" ] || { echo "check-imports: $exe is missing"; exit 2; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|msvcrt)\.dll$'
bad=0
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$dlls" ] || { echo "check-imports: no import table read from $exe"; exit 2; }
for dll in $dlls; do
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
    echo "check-imports: $exe imports $dll, which is not on the allow-list"; bad=1
  fi
done
[ $bad = 0 ] && echo "check-imports: $exe imports only" $dlls
exit $bad

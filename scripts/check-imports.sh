#!/bin/bash
# The shipped Setup.exe may import only Windows' own system DLLs: nothing that could be planted beside
# it on the medium and loaded in its place.
set -euo pipefail
exe=$1
[ -f "$exe" ] || { echo "check-imports: $exe not built yet, skipped"; exit 0; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|ole32|msvcrt)\.dll$'
bad=0
while read -r dll; do
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
    echo "check-imports: $exe imports $dll, which is not on the allow-list"; bad=1
  fi
done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
exit $bad

#!/bin/bash
# Fails when a C++ source of the project differs from what clang-format (.clang-format) makes of it;
# prints the difference. Run `clang-format -i` on the named files to mend them.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
status=0
while IFS= read -r -d '' file; do
  if ! clang-format --style=file "$file" | diff -u --label "$file" --label "$file (formatted)" "$file" -; then
    status=1
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')
[ $status -eq 0 ] && echo "format: every source as clang-format makes it"
exit $status

#!/usr/bin/env bash
# stellane.exe is linked statically: it may import only DLLs that every
# Windows installation has.
# Usage: check-exe-imports.sh stellane.exe [objdump]
set -euo pipefail
exe=$1
objdump=${2:-x86_64-w64-mingw32-objdump}
system_dlls='^(kernel32|user32|gdi32|shell32|comdlg32|comctl32|ole32|oleaut32|advapi32|msvcrt|ucrtbase|bcrypt|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'
imports=$("$objdump" -p "$exe" | awk '/DLL Name:/ {print $3}')
[[ -n $imports ]] || { echo "FAIL: no import table in $exe"; exit 1; }
status=0
for dll in $imports; do
  if ! grep -qiE "$system_dlls" <<<"$dll"; then
    echo "FAIL: $exe imports $dll, which is not a Windows system DLL"
    status=1
  fi
done
[[ $status == 0 ]] && echo "OK: $exe imports only $(echo $imports)"
exit $status

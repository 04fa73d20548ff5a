#!/usr/bin/env bash
# Checks a built Windows module: it must export PluginMain and, for
# `stellane --seed`, StellaneFixStarSeed, and nothing else,
# and import only from DLLs that every Windows installation has (the GCC and
# C++ runtimes and the image libraries are linked in statically). Given
# stellane.exe, it checks the imports only.
# Usage: check-module-imports.sh Stellane.8bf|stellane.exe [objdump]
set -euo pipefail
module=$1
objdump=${2:-x86_64-w64-mingw32-objdump}

dump=$("$objdump" -p "$module")

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next}
               on && /^[ \t]*\[/ {print $NF; next}
               on {on=0}' <<<"$dump")
# The address table counts ordinal-only exports too.
addresses=$(awk '/Export Address Table[ \t]+[0-9a-fA-F]+$/ {print $NF; exit}' <<<"$dump")
if [[ $module != *.exe ]] && [[ $(sort <<<"$exports" | tr '\n' ' ') != "PluginMain StellaneFixStarSeed " ||
      $((16#${addresses:-0})) -ne 2 ]]; then
  echo "FAIL: $module exports: ${exports:-nothing} (want PluginMain and StellaneFixStarSeed)"
  exit 1
fi

system_dlls='^(kernel32|user32|gdi32|shell32|comdlg32|comctl32|ole32|oleaut32|advapi32|msvcrt|ucrtbase|winspool\.drv|uxtheme|shlwapi|msimg32|version|bcrypt|ws2_32|api-ms-win-[a-z0-9-]+)(\.dll)?$'
status=0
imports=$(awk '/DLL Name:/ {print $3}' <<<"$dump")
for dll in $imports; do
  if ! grep -qiE "$system_dlls" <<<"$dll"; then
    echo "FAIL: $module imports $dll, which is not a Windows system DLL"
    status=1
  fi
done
[[ $status == 0 ]] && echo "OK: $module imports:" $imports
exit $status

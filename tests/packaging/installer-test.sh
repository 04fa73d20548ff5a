#!/usr/bin/env bash
# The Windows installer under Wine, in a throw-away prefix of its own: a
# silent per-machine install puts the files where docs/install.md says, the
# installed stellane.exe renders the demo picture with the installed
# Stellane.8bf, and the silent uninstall through the uninstall entry removes
# every file, the Start-menu entry and the uninstall entry itself.
# Usage: installer-test.sh INSTALLER.msi OUT-DIR
set -uo pipefail
source "$(dirname "$0")/common.sh"
msi=$(realpath "$1")
out=$(realpath -m "$2")

# No Mono or Gecko prompts, and no desktop menu entries made from the
# installer's Start-menu shortcut.
export WINEPREFIX=$out/wine-prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=$(command -v wine64 || command -v wine)
rm -rf "$out" && mkdir -p "$out"
cleanup() {
  wineserver -k 2>/dev/null
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
"$wine" wineboot -i >/dev/null 2>&1
wineserver -w
[[ -f $WINEPREFIX/system.reg ]] || { echo "FAIL: no Wine prefix"; exit 1; }

c=$WINEPREFIX/drive_c
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# What the installer may touch, listed before it runs and after it is gone.
snapshot() {
  (cd "$c" && find "Program Files" "ProgramData/Microsoft/Windows/Start Menu" \
    users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu | sort)
  "$wine" reg query "$uninstall_key" 2>/dev/null | tr -d '\r' | grep -v '^$' | sort
  "$wine" reg query 'HKLM\Software\Quillwork' 2>/dev/null | tr -d '\r'
}
before=$(snapshot)

"$wine" msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i exited with $?"
wineserver -w

app="Program Files/Quillwork/Stellane" cc="Program Files/Common Files/Adobe/Plug-Ins/CC/Stellane"
for file in "$app"/{Stellane.8bf,stellane.exe,README.txt,"Install guide.txt",COPYRIGHT.txt} \
  "$app/THIRD-PARTY-NOTICES.txt" "$cc/Stellane.8bf" {"$cc","$app"}"/presets/Milky Way band.q9r"; do
  [[ -f $c/$file ]] || fail "not installed: C:/$file"
done
# Windows puts a per-machine installation's shortcuts into the Start menu of
# all users (ProgramData); Wine's msiexec puts them into the installing user's.
find "$c/ProgramData" "$c/users" -path '*/Start Menu/Programs/Stellane/Stellane install guide.lnk' |
  grep -q . || fail "no Start-menu entry for the guide"

(cd "$out" && "$wine" 'C:\Program Files\Quillwork\Stellane\stellane.exe' render --demo demo.png -q) ||
  fail "the installed stellane.exe could not render the demo picture"
[[ $(identify -format %m "$out/demo.png") == PNG ]] || fail "the installed stellane.exe wrote no PNG picture"

# Uninstall as Programs and Features does: the entry's product code.
product=$("$wine" reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' |
  awk -F'\\' '/^HKEY_/ {key = $NF} /DisplayName[ \t]+REG_SZ[ \t]+Stellane$/ {print key; exit}')
if [[ -z $product ]]; then
  fail "no uninstall entry named Stellane"
else
  "$wine" msiexec /x "$product" /qn || fail "msiexec /x exited with $?"
  wineserver -w
fi
after=$(snapshot)
[[ $after == "$before" ]] || fail "left behind after uninstalling:"$'\n'"$(diff <(echo "$before") <(echo "$after"))"
finish

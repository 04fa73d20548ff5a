#!/usr/bin/env bash
# The Windows downloads of a build: packed (stripped copies of the build's
# files) into the zip and the installer, the zip's entries, packing twice to
# the same zip, stellane.exe importing only system DLLs, and the released
# Stellane.8bf: at most 5 MB, with the project's version, name and company in
# its version block as read by an independent reader (pefile).
# Usage: win-package-test.sh BUILD-DIR OUT-DIR VERSION
set -uo pipefail
source "$(dirname "$0")/common.sh"
build=$1
out=$(realpath -m "$2")
version=$3
rm -rf "$out"

mapfile -t made < <("$root/scripts/package-win.sh" "$build" "$out")
zip=$out/Stellane-$version-win64.zip
msi=$out/Stellane-$version-win64.msi
[[ ${made[*]:-} == "$zip $msi" && -f $zip && -f $msi ]] || { echo "FAIL: packing gave ${made[*]:-nothing}"; exit 1; }

folder=Stellane-$version-win64
expected=$(printf "$folder/%s\n" COPYRIGHT.txt "Install guide.txt" README.txt Stellane.8bf \
  THIRD-PARTY-NOTICES.txt)
expected+=$'\n'$(cd "$build/presets" && printf "$folder/presets/%s\n" *.q9r)
expected+=$'\n'$folder/stellane.exe
listed=$(unzip -Z1 "$zip")
[[ $listed == "$expected" ]] || fail "zip entries (in this order):"$'\n'"$(diff <(echo "$expected") <(echo "$listed"))"

cp "$zip" "$out/first.zip"
"$root/scripts/package-win.sh" "$build" "$out" >/dev/null
cmp -s "$zip" "$out/first.zip" || fail "packing the same build twice gave a different zip"
rm "$out/first.zip"

plugin=$out/win-stage/$folder/Stellane.8bf
size=$(stat -c %s "$plugin")
((size <= 5 * 1024 * 1024)) || fail "the released Stellane.8bf has $size bytes (at most 5 MB)"
# The module's own imports are checked on the build (module_exports_and_imports).
bash "$root/scripts/check-module-imports.sh" "${plugin%/*}/stellane.exe" || fail "imports of the released stellane.exe"
read -r -d '' read_version <<'EOF'
import sys, pefile
pe = pefile.PE(sys.argv[1])
fixed = pe.VS_FIXEDFILEINFO[0]
strings = {k.decode(): v.decode() for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
           for table in info.StringTable for k, v in table.entries.items()}
print(fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF, fixed.FileVersionLS >> 16,
      fixed.FileVersionLS & 0xFFFF, *(strings.get(k) for k in
      ("FileVersion", "ProductVersion", "ProductName", "CompanyName")))
EOF
got=$(/usr/bin/python3 -c "$read_version" "$plugin")
want="${version//./ } 0 $version $version Stellane Quillwork"
[[ $got == "$want" ]] || fail "version block of the released module: $got (want $want)"
finish

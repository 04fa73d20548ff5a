#!/usr/bin/env bash
# Packs a Windows build as Stellane-<version>-win64.zip and, with wixl from
# msitools, the installer Stellane-<version>-win64.msi (packaging/windows/
# Stellane.wxs). Both hold the stripped Stellane.8bf and stellane.exe, the
# preset library (presets/*.q9r beside them), the readme, the install guide
# and the copyright notices; the debug information
# goes to OUT/debug. Packing the same build twice gives the same zip.
# Usage: package-win.sh BUILD-DIR OUT-DIR   (prints the paths of zip and msi)
set -euo pipefail
source "$(dirname "$0")/packaging-common.sh"

build=$(realpath "$1")
out=$(realpath -m "$2")
version=$(build_version "$build")
name=Stellane-$version-win64
work=$out/win-stage
stage=$work/$name
rm -rf "$work"
mkdir -p "$stage"

objcopy=x86_64-w64-mingw32-objcopy
strip_copy $objcopy "$build/Stellane.8bf" "$stage/Stellane.8bf" "$out/debug"
strip_copy $objcopy "$build/stellane.exe" "$stage/stellane.exe" "$out/debug"
mkdir "$stage/presets"
cp "$build"/presets/*.q9r "$stage/presets/"

# Text files with Windows line ends, for Notepad.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
crlf "$packaging_root/packaging/windows/README.txt" "$stage/README.txt"
crlf "$packaging_root/packaging/COPYRIGHT.txt" "$stage/COPYRIGHT.txt"
crlf "$packaging_root/docs/install.md" "$stage/Install guide.txt"
# The libraries linked into the two files are built from Debian's sources of
# these packages (scripts/build-win-deps.sh, the mingw-w64 toolchain); their
# Debian copyright files hold the notices and licences.
{
  echo "Third-party software in Stellane.8bf and stellane.exe"
  for package in libjpeg62-turbo libpng16-16 libtiff6 zlib1g mingw-w64-common; do
    printf '\n\n==== %s (from Debian package %s)\n\n' \
      "$(sed -n 's/^Upstream-Name: //p' "/usr/share/doc/$package/copyright" | head -n1)" "$package"
    cat "/usr/share/doc/$package/copyright"
  done
} >"$work/notices.txt"
crlf "$work/notices.txt" "$stage/THIRD-PARTY-NOTICES.txt"
rm "$work/notices.txt"

stamp_tree "$work"
zip=$out/$name.zip
rm -f "$zip"
(cd "$work" && find "$name" -type f | sort | zip -X -D -9 -q "$zip" -@)

# wixl takes the files' paths relative to the .wxs files. The presets'
# components (the program's copy and the one beside Photoshop's plug-in) are
# written from the staged folder, one file each.
cp "$packaging_root/packaging/windows/Stellane.wxs" "$work/"
presets_component() {  # folder id, component id, component GUID
  echo "  <DirectoryRef Id=\"$1\">"
  echo "    <Component Id=\"$2\" Guid=\"$3\" Win64=\"yes\">"
  local n=0 preset file
  for preset in "$stage"/presets/*.q9r; do
    n=$((n + 1))
    file=$(basename "$preset" | sed 's/&/\&amp;/g')
    echo "      <File Id=\"$2$n\" Name=\"$file\" Source=\"\$(var.Stage)/presets/$file\"$( ((n == 1)) && echo ' KeyPath="yes"') />"
  done
  echo '    </Component>'
  echo '  </DirectoryRef>'
}
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
  presets_component PresetsFolder Presets 5C0F3E52-2B7A-4C43-9E0B-7D3A61F4B8A9
  presets_component PhotoshopPresetsFolder PhotoshopPresets 6C4D216F-773A-4983-9104-0BF9AACEC2E6
  echo '</Fragment></Wix>'
} >"$work/Presets.wxs"
msi=$out/$name.msi
rm -f "$msi"
(cd "$work" && wixl -a x64 -D Version="$version" -D Stage="$name" -o "$msi" Stellane.wxs Presets.wxs)
echo "$zip"
echo "$msi"

#!/usr/bin/env bash
# Packs a native build as stellane_<version>_amd64.deb for Debian 12:
#   /usr/lib/stellane/stellane and Stellane.so   stripped; the program loads the
#                                                module from its own folder
#   /usr/bin/stellane                            a link to the program
#   /usr/share/stellane/presets/*.q9r            the preset library, which the
#                                                program finds through the link
#                                                /usr/lib/stellane/presets
#   /usr/share/man/man1/stellane.1.gz            from the program's help texts
#   /usr/share/doc/stellane/                     copyright, changelog, install guide
# The debug information goes to OUT/debug, the dependencies on shared libraries
# come from dpkg-shlibdeps. Packing the same build twice gives the same bytes.
# Usage: package-deb.sh BUILD-DIR OUT-DIR   (prints the path of the .deb)
set -euo pipefail
source "$(dirname "$0")/packaging-common.sh"

build=$(realpath "$1")
out=$(realpath -m "$2")
version=$(build_version "$build")
stage=$out/deb-root
rm -rf "$stage"
mkdir -p "$stage/DEBIAN" "$stage/usr/bin" "$stage/usr/share/man/man1" \
  "$stage/usr/share/doc/stellane"

lib=$stage/usr/lib/stellane
strip_copy objcopy "$build/stellane" "$lib/stellane" "$out/debug"
strip_copy objcopy "$build/Stellane.so" "$lib/Stellane.so" "$out/debug"
chmod 0755 "$lib/stellane"
chmod 0644 "$lib/Stellane.so"  # a module the program loads, not a program
ln -s ../lib/stellane/stellane "$stage/usr/bin/stellane"
# Data the same on every architecture lives in /usr/share; the program looks
# for its presets beside itself.
install -d "$stage/usr/share/stellane/presets"
install -m 0644 "$build"/presets/*.q9r "$stage/usr/share/stellane/presets/"
ln -s ../../share/stellane/presets "$lib/presets"

"$packaging_root/scripts/make-manpage.sh" "$build/stellane" "$stage/usr/share/man/man1/stellane.1"
gzip -9n "$stage/usr/share/man/man1/stellane.1"

doc=$stage/usr/share/doc/stellane
cp "$packaging_root/packaging/debian/copyright" "$doc/copyright"
sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$(date -R -d "@$SOURCE_DATE_EPOCH")/" \
  "$packaging_root/packaging/debian/changelog" | gzip -9n >"$doc/changelog.gz"
gzip -9n <"$packaging_root/docs/install.md" >"$doc/install.md.gz"

# dpkg-shlibdeps reads the package list of a source tree; it gets a minimal one.
shlibs=$(mktemp -d)
trap 'rm -rf "$shlibs"' EXIT
mkdir -p "$shlibs/debian"
printf 'Source: stellane\n\nPackage: stellane\nArchitecture: amd64\n' >"$shlibs/debian/control"
depends=$(cd "$shlibs" && dpkg-shlibdeps -O "$lib/stellane" "$lib/Stellane.so" |
  sed -n 's/^shlibs:Depends=//p')

installed_size=$(du -s -k --apparent-size --exclude=DEBIAN "$stage" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@INSTALLED_SIZE@/$installed_size/" \
  -e "s/@DEPENDS@/$depends/" "$packaging_root/packaging/debian/control" >"$stage/DEBIAN/control"
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

stamp_tree "$stage"
deb=$out/stellane_${version}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"

#!/usr/bin/env bash
# The Debian package of a native build: packed (stripped copies of the
# build's files), its contents as listed by dpkg-deb, lintian without errors
# or warnings (also about the manual page), packed twice to the same bytes,
# then installed with dpkg into a scratch root, where `stellane render`
# works, and purged again without leaving anything behind.
# Usage: deb-test.sh BUILD-DIR OUT-DIR
set -uo pipefail
source "$(dirname "$0")/common.sh"
build=$1
out=$(realpath -m "$2")
rm -rf "$out"

deb=$("$root/scripts/package-deb.sh" "$build" "$out") || { echo "FAIL: packing"; exit 1; }

# Every preset of the build, and the link beside the program that finds them.
expected=$({
  printf '%s\n' ./usr/bin/stellane ./usr/lib/stellane/Stellane.so ./usr/lib/stellane/presets \
    ./usr/lib/stellane/stellane ./usr/share/doc/stellane/changelog.gz \
    ./usr/share/doc/stellane/copyright ./usr/share/doc/stellane/install.md.gz \
    ./usr/share/man/man1/stellane.1.gz
  (cd "$build/presets" && printf './usr/share/stellane/presets/%s\n' *.q9r)
} | sort)
listed=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print substr($0, index($0, "./"))}' |
  sed 's/ -> .*//' | sort)
[[ $listed == "$expected" ]] || fail "package contents:"$'\n'"$(diff <(echo "$expected") <(echo "$listed"))"
dpkg-deb --field "$deb" Depends | grep -q 'libpng16-16' ||
  fail "Depends lacks the PNG library the program links: $(dpkg-deb --field "$deb" Depends)"

lintian_report=$(lintian --fail-on error,warning "$deb" 2>&1) ||
  fail "lintian: $(grep -v '^running with root' <<<"$lintian_report")"

cp "$deb" "$out/first.deb" && "$root/scripts/package-deb.sh" "$build" "$out" >/dev/null
cmp -s "$deb" "$out/first.deb" || fail "packing the same build twice gave different bytes"

# A scratch root with an empty package database; the libraries the program
# needs are the test machine's own, so dependencies are not checked there.
scratch=$out/scratch-root
mkdir -p "$scratch/var/lib/dpkg/info" "$scratch/var/lib/dpkg/updates"
touch "$scratch/var/lib/dpkg/status"
if dpkg --root="$scratch" --force-depends --install "$deb" >"$out/dpkg.log" 2>&1; then
  (cd "$out" && "$scratch/usr/bin/stellane" render --demo demo.png -q) || fail "stellane render failed"
  [[ $(identify -format %m "$out/demo.png") == PNG ]] || fail "stellane render wrote no PNG picture"
  "$scratch/usr/lib/stellane/stellane" info "$scratch/usr/lib/stellane/presets/Milky Way band.q9r" |
    grep -q '^thumbnail: 128 x 128' || fail "no preset with its thumbnail beside the installed program"
  reported=$("$scratch/usr/bin/stellane" --version) version=$(dpkg-deb --field "$deb" Version)
  [[ $reported == "stellane $version" ]] || fail "the installed program says \"$reported\", the package $version"
  dpkg --root="$scratch" --purge stellane >>"$out/dpkg.log" 2>&1 || fail "dpkg --purge failed"
  left=$(cd "$scratch" && find . -mindepth 1 ! -path './var' ! -path './var/lib' ! -path './var/lib/dpkg*')
  [[ -z $left ]] || fail "left behind after purging: $left"
else
  cat "$out/dpkg.log"
  fail "dpkg --install failed"
fi
rm -rf "$scratch"
finish

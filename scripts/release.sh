#!/usr/bin/env bash
# Builds the downloads of a release into dist/:
#   Stellane-<version>-win64.zip   plug-in, stellane.exe, presets, readme, guide, notices
#   Stellane-<version>-win64.msi   the Windows installer (wixl, msitools)
#   stellane_<version>_amd64.deb   the Debian 12 package
#   SHA256SUMS                     their checksums
#   debug/                         the debug information of every shipped binary
# from release builds of its own (build/release-native, build/release-win):
# optimised as the tested builds are, then stripped by the packaging scripts.
# The version is the project version in CMakeLists.txt. Every packaged file
# carries the time of the last commit, so the zip and the .deb come out the
# same, byte for byte, every time the same sources are released.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${STELLANE_JOBS:-2}
# The same sources give the same binaries wherever they are built: the linker
# dates Windows binaries with SOURCE_DATE_EPOCH (the last commit, from
# packaging-common.sh), and the debug information names files relative to the
# source folder.
# A compiler cache that rewrites paths under its base folder into relative ones
# would keep them from being mapped, so it is told to leave them alone.
source scripts/packaging-common.sh
prefix_map="-ffile-prefix-map=$root/=./"
unset CCACHE_BASEDIR
release_flags=(-G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTELLANE_BENCH=OFF
  "-DCMAKE_C_FLAGS=$prefix_map" "-DCMAKE_CXX_FLAGS=$prefix_map")

scripts/install-deps.sh
scripts/build-win-deps.sh
cmake -S . -B build/release-native "${release_flags[@]}" >/dev/null
ninja -C build/release-native -j "$jobs" stellane StellanePlugin preset_library
# The Windows build ships the presets the native build made.
cmake -S . -B build/release-win "${release_flags[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DSTELLANE_NATIVE_BUILD_DIR="$root/build/release-native" >/dev/null
ninja -C build/release-win -j "$jobs" stellane StellanePlugin preset_library

pack=build/release-pack
rm -rf "$pack" dist
mkdir -p dist/debug
scripts/package-deb.sh build/release-native "$pack/deb" >/dev/null
scripts/package-win.sh build/release-win "$pack/win" >/dev/null
cp "$pack"/deb/*.deb "$pack"/win/*.zip "$pack"/win/*.msi dist/
cp "$pack"/deb/debug/* "$pack"/win/debug/* dist/debug/
(cd dist && sha256sum -- *.zip *.msi *.deb >SHA256SUMS)

echo
echo "=== dist/"
(cd dist && ls -l -- *.zip *.msi *.deb SHA256SUMS debug/*)

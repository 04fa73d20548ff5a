#!/usr/bin/env bash
# The main job: installs what is missing, builds the plug-in and the
# command-line host for Linux and for Windows, and renders the built-in demo
# picture with each: build/native/demo.png through Stellane.so, and
# build/win/demo.png through Stellane.8bf under Wine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${STELLANE_JOBS:-2}

scripts/install-deps.sh
cmake -S . -B build/native -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/native -j "$jobs" stellane StellanePlugin
scripts/build-win-deps.sh
cmake -S . -B build/win -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
ninja -C build/win -j "$jobs" stellane StellanePlugin

echo
echo "=== stellane render with Stellane.so on Linux"
(cd build/native && ./stellane render --demo demo.png --glue screen)
echo "Wrote build/native/demo.png"
echo
echo "=== stellane.exe render with Stellane.8bf under Wine"
(cd build/win && "$root/scripts/wine-run.sh" stellane.exe render --demo demo.png --glue screen 2>&1 |
  grep -v '^X connection to' | tr -d '\r')
echo "Wrote build/win/demo.png"

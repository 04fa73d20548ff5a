#!/usr/bin/env bash
# The main job: installs what is missing, builds the plug-in for Linux and
# for Windows, and runs one whole filter run of each build through our test
# host (the Windows one under Wine). Pictures land in build/native and
# build/win as demo-before.ppm and demo-after.ppm.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${STELLANE_JOBS:-2}

scripts/install-deps.sh
cmake -S . -B build/native -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/native -j "$jobs" stellane_demo
scripts/build-win-deps.sh
cmake -S . -B build/win -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
ninja -C build/win -j "$jobs" stellane_demo StellanePlugin

echo
echo "=== Stellane.so on Linux"
(cd build/native && ./stellane_demo)
echo
echo "=== Stellane.8bf under Wine"
(cd build/win && "$root/scripts/wine-run.sh" stellane_demo.exe 2>&1 |
  grep -v '^X connection to' | tr -d '\r')

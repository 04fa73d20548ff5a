#!/usr/bin/env bash
# Builds the image libraries of the Windows build as static mingw-w64
# libraries from Debian's own source packages, into a cache prefix that the
# toolchain file (cmake/mingw-w64-x86_64.cmake) puts on CMake's search path.
# Each library is skipped when a stamp with its package version is present.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${STELLANE_WIN_DEPS:-$HOME/.cache/stellane/win-deps}
work=${STELLANE_WIN_DEPS_WORK:-$HOME/.cache/stellane/win-deps-src}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=${STELLANE_JOBS:-2}
mkdir -p "$prefix" "$work"

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi

# `apt-get source` needs deb-src entries. Debian 12 images keep their sources
# either as deb822 (.sources) files or in the one-line sources.list format.
have_sources_index() {
  grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}
ensure_deb_src() {
  if have_sources_index; then
    # deb-src entries present, but their index may never have been fetched.
    [[ -n $(source_version libjpeg-turbo) ]] || $SUDO apt-get update -qq
    return 0
  fi
  echo "build-win-deps: adding deb-src entries"
  local f
  local added=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -e $f ]] || continue
    grep -q 'debian\.org' "$f" || continue
    $SUDO sed -i -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' "$f"
    added=1
  done
  if [[ -f /etc/apt/sources.list ]] && grep -qE '^deb ' /etc/apt/sources.list; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      $SUDO tee /etc/apt/sources.list.d/stellane-deb-src.list >/dev/null
    added=1
  fi
  if [[ $added == 0 ]]; then
    echo "deb-src http://deb.debian.org/debian bookworm main" |
      $SUDO tee /etc/apt/sources.list.d/stellane-deb-src.list >/dev/null
  fi
  $SUDO apt-get update -qq
}

source_version() {  # the version `apt-get source` would fetch
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2; exit}'
}

# Unpacks Debian's source package $1 under $work and prints its directory.
fetch_source() {
  local pkg=$1 version=$2 dir
  dir=$(find "$work/$pkg-$version" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | head -n1 || true)
  if [[ -z $dir ]]; then
    rm -rf "$work/$pkg-$version"
    mkdir -p "$work/$pkg-$version"
    (cd "$work/$pkg-$version" && apt-get source -qq "$pkg=$version" >/dev/null </dev/null)
    dir=$(find "$work/$pkg-$version" -mindepth 1 -maxdepth 1 -type d | head -n1)
  fi
  echo "$dir"
}

# build_cmake_package PKG STAMP-NAME [extra cmake args...]
build_cmake_package() {
  local pkg=$1 name=$2
  shift 2
  local version stamp src
  version=$(source_version "$pkg")
  [[ -n $version ]] || { echo "build-win-deps: no source package $pkg" >&2; return 1; }
  stamp=$prefix/.stamp-$name
  if [[ -f $stamp && $(cat "$stamp") == "$version" ]]; then
    echo "build-win-deps: $name $version already built"
    return 0
  fi
  echo "build-win-deps: building $name from $pkg $version"
  src=$(fetch_source "$pkg" "$version")
  rm -rf "$src/build-mingw"
  cmake -S "$src" -B "$src/build-mingw" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSTELLANE_WIN_DEPS="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$src/build-mingw.log" 2>&1 ||
    { tail -n 40 "$src/build-mingw.log"; return 1; }
  cmake --build "$src/build-mingw" -j "$jobs" >>"$src/build-mingw.log" 2>&1 ||
    { tail -n 40 "$src/build-mingw.log"; return 1; }
  cmake --install "$src/build-mingw" >>"$src/build-mingw.log" 2>&1 ||
    { tail -n 40 "$src/build-mingw.log"; return 1; }
  echo "$version" >"$stamp"
}

ensure_deb_src

# libjpeg: the settings-file thumbnails and the HTML pages.
simd=ON
command -v nasm >/dev/null || simd=OFF
build_cmake_package libjpeg-turbo libjpeg \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=$simd \
  -DCMAKE_POSITION_INDEPENDENT_CODE=OFF

# zlib, libpng, libtiff: the image files of the command-line host.
build_zlib() {
  local version stamp src
  version=$(source_version zlib)
  stamp=$prefix/.stamp-zlib
  if [[ -f $stamp && $(cat "$stamp") == "$version" ]]; then
    echo "build-win-deps: zlib $version already built"
    return 0
  fi
  echo "build-win-deps: building zlib from zlib $version"
  src=$(fetch_source zlib "$version")
  # zlib's CMake script always builds a DLL as well, and Debian's source drops
  # the MinGW makefile; the library is a dozen C files, so compile them here.
  local objs=() f
  rm -rf "$src/build-mingw" && mkdir -p "$src/build-mingw"
  for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
    inflate inftrees trees uncompr zutil; do
    x86_64-w64-mingw32-gcc-posix -O2 -c "$src/$f.c" -o "$src/build-mingw/$f.o" ||
      return 1
    objs+=("$src/build-mingw/$f.o")
  done
  rm -f "$src/build-mingw/libz.a"
  x86_64-w64-mingw32-ar rcs "$src/build-mingw/libz.a" "${objs[@]}"
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$src/build-mingw/libz.a" "$prefix/lib/"
  cp "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
  echo "$version" >"$stamp"
}
build_zlib
build_cmake_package libpng1.6 libpng -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DPNG_BUILD_ZLIB=OFF -DZLIB_ROOT="$prefix"
build_cmake_package tiff libtiff -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF \
  -Dtiff-docs=OFF -Djbig=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dlerc=OFF -Dlibdeflate=OFF \
  -Djpeg12=OFF -Dzlib=ON -Djpeg=ON -Dpixarlog=ON -Dcxx=OFF

echo "build-win-deps: done ($prefix)"

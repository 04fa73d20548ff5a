#!/usr/bin/env bash
# Installs everything both builds, all tests and scripts/release.sh need on
# Debian 12 (as root).
# Quick when everything is already there: apt is only asked about packages
# that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  libgtest-dev googletest libbenchmark-dev
  libjpeg-dev libpng-dev libtiff-dev zlib1g-dev
  libcli11-dev
  clang-format
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xauth
  dpkg-dev nasm ca-certificates
  imagemagick fonts-dejavu-core
  # independent readers of the command line's PSD files and metadata
  python3-psd-tools libimage-exiftool-perl
  # the downloads: installer, package checks, manual page, version reader
  wixl msitools lintian man-db help2man python3-pefile zip unzip
)
# Wine loads parts of X and fonts through its recommended packages; the rest
# is installed without recommendations.
with_recommends='^(wine|wine64|fonts-wine)$'


missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
plain=() full=()
for p in "${missing[@]}"; do
  if [[ $p =~ $with_recommends ]]; then full+=("$p"); else plain+=("$p"); fi
done
if ((${#plain[@]})); then
  $SUDO apt-get install -y -qq --no-install-recommends "${plain[@]}" </dev/null
fi
if ((${#full[@]})); then
  $SUDO apt-get install -y -qq "${full[@]}" </dev/null
fi

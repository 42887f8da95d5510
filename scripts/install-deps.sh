#!/usr/bin/env bash
# Installs what building, running and testing ZantoSetup needs on Debian, as root.
# Does nothing when everything is there already. The x86-64 compiler and wine64 serve the 64-bit
# build, which hosts that run no 32-bit x86 code test instead of the 32-bit one.
set -euo pipefail

packages=(
    cmake make g++ googletest
    g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix
    wine wine32:i386 wine64 fonts-wine
    xvfb xauth x11-utils
    gcab cabextract libjpeg-turbo-progs imagemagick
    # The release and its checks; bookworm's own osslsigncode (2.5) signs and verifies as needed.
    osslsigncode openssl xorriso zip genisoimage unzip
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt-get update -q
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"

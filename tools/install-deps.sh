#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Kovelin need.
# Does nothing when everything is present already, so it is cheap to call first.
# Packages named as arguments are wanted too (tools/package.sh asks for its
# own).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache clang libclang-rt-14-dev clang-format
  libsdl2-dev libsdl2-image-dev libfreetype-dev libharfbuzz-dev libfontconfig-dev
  libzip-dev zlib1g-dev libx11-dev libxext-dev libxtst-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-noto-core fonts-dejavu-core
  xvfb xauth openbox x11-apps imagemagick zip hunspell-ne
  desktop-file-utils appstream
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

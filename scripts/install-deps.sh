#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Velkora needs.
# Skips what is already installed; refreshes the package lists only when something is missing.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang
  # libraries the program links
  qt6-base-dev libgl-dev libpng-dev libfontconfig-dev libsqlite3-dev libcurl4-openssl-dev libssl-dev
  libx11-dev libx11-xcb-dev libxcb1-dev libxtst-dev libxdo-dev libasound2-dev
  # fonts: without a CJK font every Chinese text shows as boxes
  fonts-wqy-microhei
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  xvfb xauth xdotool x11-utils trayer imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  command -v sudo >/dev/null || { echo "Please run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"

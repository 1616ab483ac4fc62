#!/usr/bin/env bash
# Installs the Debian packages Tallyscope needs to build, test and run, and nothing else.
# Works as root or through sudo; a machine that already has everything is left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libjpeg62-turbo-dev
  qt6-translations-l10n
  libopencv-imgproc-dev libopencv-core-dev
  qt6-wayland weston
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick
  desktop-file-utils appstream dpkg-dev file
  openbox
  fonts-noto-cjk
  fonts-ipafont-gothic
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

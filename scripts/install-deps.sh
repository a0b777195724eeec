#!/usr/bin/env bash
# Installs every Debian 12 package Lirra needs to build, run and test.
# Idempotent: packages already present are left alone. Runs as root or via sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git ccache
  libglfw3-dev libglew-dev libsoil-dev libfreetype-dev libglm-dev
  libimgui-dev libstb-dev
  libopenal-dev libopenal1 libvorbis-dev libogg-dev
  libpng-dev
  libgtest-dev googletest libbenchmark-dev
  fonts-dotgothic16
  xvfb xauth x11-utils xdotool libgl1-mesa-dri libglx-mesa0 mesa-utils
  clang libclang-rt-14-dev clang-format clang-tidy
  imagemagick
  desktop-file-utils
  dpkg-dev file lintian appstream man-db groff-base gzip
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "All dependencies are installed."
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

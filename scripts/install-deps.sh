#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev libgl-dev libqt6svg6
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation
  clang libclang-rt-dev
  valgrind
  dpkg-dev desktop-file-utils appstream librsvg2-bin
)
# The desktop checks: a virtual X server with a window manager, AT-SPI on a session bus, keys,
# window and pixel reading.
packages+=(xvfb openbox xdotool x11-utils imagemagick dbus at-spi2-core python3-pyatspi)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

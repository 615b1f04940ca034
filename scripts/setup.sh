#!/usr/bin/env bash
# Installs every Debian package Pindrake builds, runs and tests with (clang and its runtime
# libraries build the fuzz targets). Safe to run again: packages already present are left
# alone. Needs root (or sudo) and apt-get.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libgl-dev libgl1-mesa-dri libegl1 mesa-utils-bin
  libopenal-dev libopenal1 libpugixml-dev zlib1g-dev libminizip-dev
  libogg-dev libvorbis-dev libtheora-dev libstb-dev libfreetype-dev libcairo2-dev
  fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  zip xvfb xdotool x11-utils xfonts-base
  clang libclang-rt-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: every package is installed"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "setup: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
  fi
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
for p in "${missing[@]}"; do
  if ! apt-cache show "$p" >/dev/null 2>&1; then
    echo "setup: the Debian package '$p' cannot be found in the configured archives" >&2
    exit 1
  fi
done
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  echo "setup: apt-get could not install: ${missing[*]}" >&2
  exit 1
fi
echo "setup: done"

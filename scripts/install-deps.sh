#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and play.
# Idempotent; run as root (or through sudo) on Debian 12.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libpango1.0-dev libharfbuzz-dev libfreetype-dev libfontconfig-dev
  libpolyclipping-dev libxml2-dev libpng-dev libjpeg62-turbo-dev
  libsdl2-dev libsdl2-mixer-dev libmpg123-dev ffmpeg
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth xfonts-base xdotool x11-utils imagemagick
  sox libsox-fmt-mp3 lame
  clang clang-format libclang-rt-14-dev valgrind
  dpkg-dev file help2man gzip lintian desktop-file-utils man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

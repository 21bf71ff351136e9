#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and play.
#   bash scripts/install-deps.sh           the Linux build, its tests and tools
#   bash scripts/install-deps.sh windows   and also the Windows cross build and its tests under Wine
#                                          (about 1.5 GB more; it also enables Debian's source lists)
#   bash scripts/install-deps.sh web       and also the WebAssembly build (emscripten) and its tests
#   bash scripts/install-deps.sh windows web   both
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
windows=0 web=0
for target in "$@"; do
  case $target in
  windows) windows=1 ;;
  web) web=1 ;;
  *) echo "install-deps: unknown target '$target' (windows, web)" >&2; exit 64 ;;
  esac
done
if [ "$windows" = 1 ]; then
  packages+=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    meson gperf dpkg-dev ccache zip
    wine wine64
  )
fi
if [ "$web" = 1 ]; then
  packages+=(emscripten nodejs meson gperf dpkg-dev ccache chromium curl)
  # The browser tests' driver comes from npm: Debian's nodejs needs its npm beside it (a Node.js
  # that brings its own npm has it already).
  command -v npm >/dev/null || packages+=(npm)
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# The Windows and WebAssembly libraries are built from Debian's source packages: apt-get source needs deb-src.
sources=/etc/apt/sources.list.d/debian.sources
if [ $# -gt 0 ] && [ -f "$sources" ] && grep -q '^Types: deb$' "$sources"; then
  $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$sources"
  $SUDO apt-get update -qq
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

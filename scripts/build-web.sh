#!/usr/bin/env bash
# Builds the browser version into dist/web/: index.html, the module (velorine-web.js, .wasm and its
# .data with the scenes, textures and fonts) and the soundtrack. Builds the libraries for
# WebAssembly from Debian's sources first (or reuses them: scripts/deps/build.sh wasm). Also builds
# build-web/tvs-render.js, the offline renderer for Node (tests/e2e/web-render.sh compares it).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

bash scripts/install-deps.sh web
if [ -z "${VELORINE_DEPS_CACHE:-}" ] && [ ! -w /var/cache ]; then
  export VELORINE_DEPS_CACHE="$HOME/.cache/velorine-deps"
fi
# emscripten's tools find their JavaScript modules here, and run on Debian's Python (a version
# manager's shim would cost seconds on every compile).
export NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
deps=$(bash scripts/deps/build.sh wasm)

# What the module's files hold: the production without its soundtrack, and the fonts the scenes
# name with fontconfig's rules as on Linux (Liberation for Arial and Times New Roman, DejaVu else).
build="build-web"
# A build folder configured against another prefix keeps that prefix's paths in its cache.
if ! grep -qxF "VELORINE_DEPS:UNINITIALIZED=$deps" "$build/CMakeCache.txt" 2>/dev/null; then
  rm -rf "$build"
fi
files="$repo/$build/files"
# Laid out anew beside the last one, which is replaced only when something changed: the module is
# linked again (and its data packed) when a file's time is newer than the link.
rm -rf "$files.new"
mkdir -p "$files.new/fonts"
cp -rp data "$files.new/data"
rm -rf "$files.new/data/music"
cp -p /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf \
  /usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf "$files.new/fonts/"
cp -p /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$files.new/fonts/"
bash scripts/windows/font-config.sh "$deps" "$files.new/fonts"
# The module's files are in memory: fontconfig keeps its cache there rather than finding no
# writable folder (which it reports on the console).
sed -i 's|<cachedir>LOCAL_APPDATA_FONTCONFIG_CACHE</cachedir>|<cachedir>/tmp/fontconfig</cachedir>|' \
  "$files.new/fonts/fonts.conf"
if diff -rq "$files" "$files.new" >/dev/null 2>&1; then
  rm -rf "$files.new"
else
  rm -rf "$files"
  mv "$files.new" "$files"
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/wasm.cmake" -DVELORINE_DEPS="$deps" \
  -DKUV_WEB_FILES="$files" -DCMAKE_BUILD_TYPE=Release -DKUV_BUILD_TESTS=OFF -DKUV_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
nice -n 19 cmake --build "$build" -j 2 --target tvs-render velorine-web

out=dist/web
rm -rf "$out"
mkdir -p "$out/data/music"
cp web/index.html web/velorine.js web/velorine.css "$out/"
cp "$build"/velorine-web.{js,wasm,data} "$out/"
cp data/music/vantrel.mp3 "$out/data/music/"
echo "dist/web: $(du -sk "$out" | cut -f1) KiB"

#!/usr/bin/env bash
# Cross-builds the player and the tools for 64-bit Windows and writes the release folder
# dist/windows/velorine/ and its archive dist/velorine-windows.zip. Installs what is missing and
# builds the libraries from Debian's sources first (or reuses them: scripts/deps/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

bash scripts/install-deps.sh windows
deps=$(bash scripts/deps/build.sh mingw64)

build=build-windows
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw64.cmake" -DVELORINE_DEPS="$deps" \
  -DCMAKE_BUILD_TYPE=Release -DKUV_BUILD_TESTS=OFF -DKUV_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
nice -n 19 cmake --build "$build" -j 2 --target velorine tvs-render tvs-check

folder=dist/windows/velorine
rm -rf "$folder" dist/velorine-windows.zip
mkdir -p "$folder/fonts/conf.d"
for program in velorine tvs-render tvs-check; do
  x86_64-w64-mingw32-strip -o "$folder/$program.exe" "$build/$program.exe"
done

# The families the scenes name resolve through fontconfig as on Linux, and only among the fonts
# shipped here, so that a frame is the same on every machine: the Liberation fonts stand in for
# Arial, Times New Roman and Courier New (fontconfig's metric aliases) and DejaVu is the generic
# fallback, as on Debian. fontconfig on Windows reads fonts/fonts.conf beside the program.
cp /usr/share/fonts/truetype/liberation2/*.ttf "$folder/fonts/"
cp /usr/share/doc/fonts-liberation2/copyright "$folder/fonts/LICENSE-Liberation.txt"
cp /usr/share/fonts/truetype/dejavu/DejaVu{Sans,Sans-Bold,SansMono,SansMono-Bold,Serif,Serif-Bold}.ttf "$folder/fonts/"
cp /usr/share/doc/fonts-dejavu-core/copyright "$folder/fonts/LICENSE-DejaVu.txt"
bash scripts/windows/font-config.sh "$deps" "$folder/fonts"
cp -r data "$folder/data"
sed 's/$/\r/' scripts/windows/README.txt >"$folder/README.txt"

bash scripts/windows/check-imports.sh "$folder"
(cd dist/windows && zip -q -r -9 ../velorine-windows.zip velorine)
size=$(stat -c %s dist/velorine-windows.zip)
echo "dist/velorine-windows.zip: $((size / 1024)) KiB"
if [ "$size" -ge $((40 * 1024 * 1024)) ]; then
  echo "build-windows: the archive is 40 MB or more" >&2
  exit 1
fi

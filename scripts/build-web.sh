#!/usr/bin/env bash
# Builds the browser version: the libraries for WebAssembly from Debian's sources (or reuses them:
# scripts/deps/build.sh wasm), then the engine and tvs-render with Debian's emscripten into
# build-web/ (tvs-render.js runs under Node: node --no-experimental-fetch build-web/tvs-render.js).
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

build=build-web
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/wasm.cmake" -DVELORINE_DEPS="$deps" \
  -DCMAKE_BUILD_TYPE=Release -DKUV_BUILD_TESTS=OFF -DKUV_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
nice -n 19 cmake --build "$build" -j 2 --target tvs-render

#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs the whole test suite, then builds once more
# with clang (whose warnings catch other faults) and runs the suite on that build too.
# Warnings are errors in both builds. Then the Debian package is built, installed, checked
# and removed. Last, the fuzz targets replay every input that ever failed and fuzz for a
# minute each. Last, the Windows build is cross-built and run under Wine: its frames against the
# Linux tvs-render's, and the player as a user meets it, to the production's end.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/check-format.sh

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUV_SANITIZE=ON -DKUV_WERROR=ON
cmake --build build-test -j "$(nproc)"
ctest --test-dir build-test --output-on-failure -j 2

CXX=clang++ cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=Release -DKUV_WERROR=ON
cmake --build build-clang -j "$(nproc)"
ctest --test-dir build-clang --output-on-failure -j 2

# Builds the Debian package, installs it, checks it as installed and removes it again.
bash tests/package/package-test.sh

# Replays every fuzz input that ever failed, then fuzzes each target for a minute.
bash scripts/fuzz.sh 60

# The Windows release folder, built from Debian's sources (the libraries are cached per machine).
bash scripts/build-windows.sh
# The sanitizer build is the reference; fontconfig keeps its caches to the end on purpose.
ASAN_OPTIONS=detect_leaks=0 bash tests/e2e/wine-render.sh dist/windows/velorine build-test/tvs-render
bash tests/e2e/wine-player.sh dist/windows/velorine

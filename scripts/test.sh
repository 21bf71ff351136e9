#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the whole test suite, and fuzzes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUV_SANITIZE=ON
cmake --build build-test -j "$(nproc)"
ctest --test-dir build-test --output-on-failure -j 2
# Replays every fuzz input that ever failed, then fuzzes each target for a minute.
bash scripts/fuzz.sh 60

#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs the whole test suite, then builds once more
# with clang (whose warnings catch other faults) and runs the suite on that build too.
# Warnings are errors in both builds. Then the Debian package is built, installed, checked
# and removed, and the fuzz targets replay every input that ever failed and fuzz for a minute
# each. Last, the Windows build is cross-built and run under Wine: its frames against the Linux
# tvs-render's, and the player as a user meets it, to the production's end.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
bash scripts/check-format.sh

# The Windows libraries build from Debian's sources (or come from the machine's cache) beside the
# Linux builds and tests, at the lowest priority: their configure steps leave a core idle most of
# the time. In a session of its own, so that it can be paused and stopped as a whole.
deps_log=$(mktemp)
setsid bash scripts/deps/build.sh mingw64 >"$deps_log" 2>&1 &
deps_pid=$!
trap 'kill -CONT -- -"$deps_pid" 2>/dev/null || true; kill -- -"$deps_pid" 2>/dev/null || true; rm -f "$deps_log"' EXIT
# The end-to-end tests drive real windows against the clock: the library build waits while they run.
run_tests() {
  kill -STOP -- -"$deps_pid" 2>/dev/null || true
  ctest --test-dir "$1" --output-on-failure -j 2
  kill -CONT -- -"$deps_pid" 2>/dev/null || true
}

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUV_SANITIZE=ON -DKUV_WERROR=ON
cmake --build build-test -j "$(nproc)"
run_tests build-test

CXX=clang++ cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=Release -DKUV_WERROR=ON
cmake --build build-clang -j "$(nproc)"
run_tests build-clang

# Builds the Debian package, installs it, checks it as installed and removes it again.
bash tests/package/package-test.sh

# Replays every fuzz input that ever failed, then fuzzes each target for a minute.
bash scripts/fuzz.sh 60

# The Windows release folder, over the libraries built above.
if ! wait "$deps_pid"; then
  cat "$deps_log" >&2
  exit 1
fi
grep "ready in" "$deps_log" >&2 || true
bash scripts/build-windows.sh
# The sanitizer build is the reference; fontconfig keeps its caches to the end on purpose.
ASAN_OPTIONS=detect_leaks=0 bash tests/e2e/wine-render.sh dist/windows/velorine build-test/tvs-render
bash tests/e2e/wine-player.sh dist/windows/velorine

#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs the whole test suite, then builds once more
# with clang (whose warnings catch other faults) and runs the suite on that build too.
# Warnings are errors in both builds. Then the Debian package is built, installed, checked
# and removed, and the fuzz targets replay every input that ever failed and fuzz for a minute
# each. Then the Windows build is cross-built and run under Wine: its frames against the Linux
# tvs-render's, and the player as a user meets it, to the production's end. Last, the browser
# build: its frames against the Linux ones, and the page in headless chromium, to the show's end.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows web
bash scripts/check-format.sh

# The Windows and WebAssembly libraries build from Debian's sources (or come from the machine's
# cache) beside the Linux builds and tests, at the lowest priority: their configure steps leave a
# core idle most of the time. Each in a session of its own, so that it can be paused and stopped
# as a whole.
declare -A deps_pid deps_log
for target in mingw64 wasm; do
  deps_log[$target]=$(mktemp)
  setsid bash scripts/deps/build.sh "$target" >"${deps_log[$target]}" 2>&1 &
  deps_pid[$target]=$!
done
signal_deps() {
  local pid
  for pid in "${deps_pid[@]}"; do kill "$1" -- -"$pid" 2>/dev/null || true; done
}
trap 'signal_deps -CONT; signal_deps -TERM; rm -f "${deps_log[@]}"' EXIT
# Runs a command with the library builds paused: the end-to-end tests drive real windows against
# the clock.
paused() {
  local status=0
  signal_deps -STOP
  "$@" || status=$?
  signal_deps -CONT
  return "$status"
}
# Waits for one target's libraries; a failed build shows its log.
await_deps() {
  if ! wait "${deps_pid[$1]}"; then
    cat "${deps_log[$1]}" >&2
    exit 1
  fi
  grep "ready in" "${deps_log[$1]}" >&2 || true
}

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUV_SANITIZE=ON -DKUV_WERROR=ON
cmake --build build-test -j "$(nproc)"
paused ctest --test-dir build-test --output-on-failure -j 2

CXX=clang++ cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=Release -DKUV_WERROR=ON
cmake --build build-clang -j "$(nproc)"
paused ctest --test-dir build-clang --output-on-failure -j 2

# Builds the Debian package, installs it, checks it as installed and removes it again.
bash tests/package/package-test.sh

# Replays every fuzz input that ever failed, then fuzzes each target for a minute.
bash scripts/fuzz.sh 60

# The Windows release folder, over the libraries built above.
await_deps mingw64
bash scripts/build-windows.sh
# The sanitizer build is the reference; fontconfig keeps its caches to the end on purpose.
ASAN_OPTIONS=detect_leaks=0 bash tests/e2e/wine-render.sh dist/windows/velorine build-test/tvs-render
paused bash tests/e2e/wine-player.sh dist/windows/velorine

# The page, over the libraries built above: its frames against the Linux tvs-render's, and the show
# in headless chromium from a click to its end screen.
await_deps wasm
ASAN_OPTIONS=detect_leaks=0 bash tests/e2e/web.sh --full build-test/tvs-render

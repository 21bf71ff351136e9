#!/usr/bin/env bash
# The browser version end to end: builds dist/web (scripts/build-web.sh), compares the WebAssembly
# tvs-render under Node with the Linux one, then serves the page on 127.0.0.1 and runs its tests in
# Debian's headless chromium through playwright-core (tests/e2e/web/).
# Usage: web.sh [--full] [PATH-TO-LINUX-TVS-RENDER]
#   --full also plays the whole show from a click to its end screen (about 3 minutes more).
#   The Linux tvs-render defaults to build/tvs-render. Screenshots and frames are kept in
#   $KUV_E2E_KEEP when it is set.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1

full=0
if [ "${1:-}" = --full ]; then
  full=1
  shift
fi
linux=$(realpath "${1:-build/tvs-render}")
if [ ! -x "$linux" ]; then
  echo "usage: $0 [--full] [PATH-TO-LINUX-TVS-RENDER] (no $linux)" >&2
  exit 2
fi
TICKS=${KUV_E2E_TICKS:-8000,24000,45000,68000,92000,115000,135000}
export KUV_E2E_TICKS=$TICKS

work=$(mktemp -d)
server=""
cleanup() {
  [ -z "$server" ] || kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
shots=${KUV_E2E_KEEP:-$work/shots}
mkdir -p "$shots"
status=0
step() {
  echo "== $*"
  "$@" || status=1
}

step bash scripts/build-web.sh || exit 1
[ -f dist/web/index.html ] || exit 1
step bash tests/e2e/web-render.sh build-web/tvs-render.js "$linux"

# The page draws each tick from a fresh load, as a lone --at run does.
mkdir -p "$work/native"
for tick in ${TICKS//,/ }; do
  "$linux" 'data\tessik\postprocess.tvs' --at "$tick" --out "$work/native" >/dev/null || status=1
done

if [ ! -d tests/e2e/web/node_modules/playwright-core ]; then
  (cd tests/e2e/web && npm ci --no-audit --no-fund --loglevel=error) || exit 1
fi
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
bash scripts/serve-web.sh "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
  curl -sf "http://127.0.0.1:$port/index.html" >/dev/null && break
  sleep 0.2
done

tests=(tests/e2e/web/page.test.js)
[ "$full" -eq 0 ] || tests+=(tests/e2e/web/show.test.js)
VELORINE_WEB_URL="http://127.0.0.1:$port/" VELORINE_NATIVE_FRAMES="$work/native" VELORINE_WEB_SHOTS="$shots" \
  step node --test --test-concurrency=1 "${tests[@]}"
[ -z "${KUV_E2E_KEEP:-}" ] || cp "$work/native/"*.png "$shots/" 2>/dev/null
exit "$status"

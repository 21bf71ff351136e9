#!/usr/bin/env bash
# The browser build's engine against the Linux one: tvs-render compiled to WebAssembly, run under
# Node, draws frames of the production at one tick in every movement that match the Linux frames
# (at least 99.5 % of pixels with every channel within 2 levels).
# Usage: web-render.sh CANDIDATE PATH-TO-LINUX-TVS-RENDER
#   CANDIDATE is the wasm build's tvs-render.js (run with node) or a native tvs-render built
#   without pango (the browser's text path, checked on Linux). Needs imagemagick; the frames are
#   kept in $KUV_E2E_KEEP when it is set.
set -uo pipefail

if [ $# -ne 2 ] || [ ! -f "$1" ] || [ ! -x "$2" ]; then
  echo "usage: $0 CANDIDATE PATH-TO-LINUX-TVS-RENDER" >&2
  exit 2
fi
candidate=$(realpath "$1")
linux=$(realpath "$2")
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
pass() { echo "PASS $*"; }
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# One tick in each of the seven movements, the title's and the credits' text among them.
TICKS=${KUV_E2E_TICKS:-8000,24000,45000,68000,92000,115000,135000}

run_candidate() {
  case "$candidate" in
  # Node 20's fetch collides with the one emscripten 3.1.6 defines for its modules.
  *.js) NODE_PATH=/usr/share/nodejs node --no-experimental-fetch "$candidate" "$@" ;;
  *) "$candidate" "$@" ;;
  esac
}

# Prints the share of pixels (in %) of $1 and $2 with some channel more than 2 levels apart.
differing_percent() {
  convert "$1" "$2" -alpha off -compose difference -composite -separate -evaluate-sequence max \
    -threshold 1% -format '%[fx:mean*100]' info:
}

mkdir -p "$work/linux" "$work/candidate"
"$linux" 'data\tessik\postprocess.tvs' --at "$TICKS" --out "$work/linux" >/dev/null || fail "the Linux tvs-render failed"
started=$(date +%s%N)
if run_candidate 'data\tessik\postprocess.tvs' --at "$TICKS" --out "$work/candidate" >/dev/null 2>"$work/candidate.err"; then
  pass "$(basename "$candidate") drew ${TICKS//,/ } in $((($(date +%s%N) - started) / 1000000)) ms"
else
  fail "$(basename "$candidate"): $(head -c 400 "$work/candidate.err")"
fi
for tick in ${TICKS//,/ }; do
  if [ ! -f "$work/candidate/$tick.png" ]; then
    fail "no frame at $tick"
    continue
  fi
  off=$(differing_percent "$work/linux/$tick.png" "$work/candidate/$tick.png")
  if awk -v off="$off" 'BEGIN { exit !(off <= 0.5) }'; then
    pass "tick $tick: ${off}% of pixels differ by more than 2 levels"
  else
    fail "tick $tick: ${off}% of pixels differ by more than 2 levels"
  fi
  if [ -n "${KUV_E2E_KEEP:-}" ]; then
    mkdir -p "$KUV_E2E_KEEP"
    cp "$work/linux/$tick.png" "$KUV_E2E_KEEP/$tick-linux.png"
    cp "$work/candidate/$tick.png" "$KUV_E2E_KEEP/$tick-candidate.png"
    convert "$work/linux/$tick.png" "$work/candidate/$tick.png" -compose difference -composite \
      "$KUV_E2E_KEEP/$tick-difference.png"
  fi
done

if [ "$failures" -eq 0 ]; then
  echo "web tvs-render: all checks passed"
  exit 0
fi
echo "web tvs-render: $failures check(s) failed"
exit 1

#!/usr/bin/env bash
# The browser version's budgets, with the Linux tvs-render's figures beside them:
#   transfer size of dist/web <= 8 MB; in headless chromium, load to first frame <= 1.5 s, and per
#   played frame (update, render, putting it on the canvas) median <= 8 ms, 95th percentile <= 16 ms
#   over the whole show at 800x600 (played at real speed: about 3 minutes).
# Usage: bench/web_bench.sh [PATH-TO-LINUX-TVS-RENDER]   (after scripts/build-web.sh; the Linux
#   tvs-render defaults to build/tvs-render). Needs chromium and tests/e2e/web's playwright-core.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$(realpath "${1:-build/tvs-render}")
[ -f dist/web/index.html ] || { echo "web_bench: no dist/web (run scripts/build-web.sh)" >&2; exit 1; }
[ -x "$linux" ] || { echo "web_bench: no Linux tvs-render at $linux" >&2; exit 1; }
if [ ! -d tests/e2e/web/node_modules/playwright-core ]; then
  (cd tests/e2e/web && npm ci --no-audit --no-fund --loglevel=error)
fi

bytes=$(find dist/web -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
printf 'transfer size      %6.2f MB   (budget 8 MB)\n' "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')"

# The Linux tvs-render's work per frame at the same size, one frame every 16 ms over the show: with
# its drawing threads, and on one thread as the browser draws.
native_figures() {
  local file="${TMPDIR:-/tmp}/web_bench_native.txt" load threads
  env "$@" "$linux" 'data\tessik\postprocess.tvs' --at "$(seq -s, 0 16 154000)" --timings >"$file"
  read -r load threads <<<"$(awk '/^load / { print $2, $5 }' "$file")"
  awk '/^@/ { print $3 + $6 }' "$file" | sort -g | awk -v load="$load" -v threads="$threads" '
    { t[NR] = $1 }
    END {
      printf "native tvs-render, %s thread(s): load %.1f ms, frame median %.2f ms, p95 %.2f ms over %d frames\n",
        threads, load, t[int(NR * 0.5) + 1], t[int(NR * 0.95) + 1], NR
    }'
  rm -f "$file"
}
native_figures
native_figures KUV_THREADS=1

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
bash scripts/serve-web.sh "$port" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null' EXIT
for _ in $(seq 50); do
  curl -sf "http://127.0.0.1:$port/index.html" >/dev/null && break
  sleep 0.2
done
result=$(VELORINE_WEB_URL="http://127.0.0.1:$port/" NODE_PATH="$PWD/tests/e2e/web/node_modules" \
  node bench/web/page-bench.js)
echo "$result" | python3 -c '
import json, sys
r = json.load(sys.stdin)
f = r["frameMs"]
print("load to first frame %6.0f ms     (budget 1500 ms; worst of 5: %.0f ms)" % (r["firstFrameMs"]["median"], r["firstFrameMs"]["worst"]))
print("frame median       %6.2f ms     (budget 8 ms)" % f["median"])
print("frame p95          %6.2f ms     (budget 16 ms; worst %.1f ms, %d frames, ended at tick %d%s)" % (
    f["p95"], f["worst"], r["frames"], r["endedAt"], "" if r["error"] is None else ", error: " + r["error"]))
'

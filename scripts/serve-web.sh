#!/usr/bin/env bash
# Serves dist/web (made by scripts/build-web.sh) on 127.0.0.1 only.
#   bash scripts/serve-web.sh [PORT]        (default 8000)
set -euo pipefail
cd "$(dirname "$0")/.."
port="${1:-8000}"
[ -f dist/web/index.html ] || { echo "serve-web: no dist/web/index.html (run scripts/build-web.sh)" >&2; exit 1; }
echo "Velorine: http://127.0.0.1:$port/"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory dist/web

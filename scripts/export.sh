#!/usr/bin/env bash
# Installs what is missing, builds tvs-render in build/ and exports the production with its
# music, as the player shows it (800x600, the whole 154 s run), to velorine.mp4 in the
# repository root. Extra arguments go to tvs-render (for example --fps 30 or --until 20000).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target tvs-render -j "$(nproc)"

cd "$root"
exec build/tvs-render data/tessik/postprocess.tvs --video velorine.mp4 --audio data/music/vantrel.mp3 \
  --until 154000 --fps 60 --size 800x600 "$@"

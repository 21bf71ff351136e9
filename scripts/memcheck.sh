#!/usr/bin/env bash
# Runs tvs-render on a production under valgrind's memcheck: memory errors and leaks fail it,
# except the font machinery's one-time set-up (tests/valgrind.supp).
# Usage: scripts/memcheck.sh [PRODUCTION-FOLDER]   (default: this repository; needs build/tvs-render)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
production=${1:-$root}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$production"
valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite,possible --error-exitcode=99 \
  --suppressions="$root/tests/valgrind.supp" --num-callers=40 \
  "$root/build/tvs-render" 'data\tessik\postprocess.tvs' --at 0,20000,60000,100000,122864,150000 --out "$out"

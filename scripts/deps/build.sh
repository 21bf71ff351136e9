#!/usr/bin/env bash
# Cross-builds the libraries the product links, from Debian's own source packages, for one target:
#   bash scripts/deps/build.sh TARGET        (TARGET: a file in scripts/deps/targets/: mingw64, wasm)
# Prints the prefix that holds the result. The prefix is keyed by the source package versions and
# the target; stamps in it hold the hash of each library's recipe, so a second run with nothing
# changed only checks them and prints the prefix again.
# VELORINE_DEPS_CACHE moves the cache (default /var/cache/velorine-deps, or ~/.cache/velorine-deps
# for a user who may not write there).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
target="${1:?usage: build.sh TARGET}"
[ -f "$here/targets/$target.sh" ] || { echo "build.sh: no target '$target' in $here/targets" >&2; exit 64; }

cache="${VELORINE_DEPS_CACHE:-/var/cache/velorine-deps}"
if [ -z "${VELORINE_DEPS_CACHE:-}" ] && [ ! -w /var/cache ]; then cache="$HOME/.cache/velorine-deps"; fi
# shellcheck source=lib.sh
source "$here/lib.sh"
# shellcheck disable=SC1090
source "$here/targets/$target.sh"
# The libraries in build order; each names its Debian source package in its recipe.
source "$here/recipes.list"
# A target may leave out libraries it has no use for (DEPS_WITHOUT).
kept=()
for lib in "${DEPS_LIBS[@]}"; do
  [[ " ${DEPS_WITHOUT[*]:-} " == *" $lib "* ]] || kept+=("$lib")
done
DEPS_LIBS=("${kept[@]}")

# The sources are shared by the targets, whose builds may run at the same time (scripts/test.sh):
# one fetches while the other waits.
mkdir -p "$cache"
exec {fetch_lock}>"$cache/fetch.lock"
flock "$fetch_lock"
deps_fetch_all
flock -u "$fetch_lock"
key="$(deps_key)"
prefix="$cache/$target/$key"
mkdir -p "$prefix"
target_setup "$prefix"
started=$(date +%s)
hash=start
for lib in "${DEPS_LIBS[@]}"; do
  hash="$(deps_stamp_hash "$hash" "$lib")"
  deps_build_one "$lib" "$prefix" "$cache/$target/work/$key" "$hash"
done
rm -rf "$cache/$target/work/$key"
echo "deps: $target ready in $(( $(date +%s) - started )) s" >&2
echo "$prefix"

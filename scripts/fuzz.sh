#!/usr/bin/env bash
# Builds the fuzz targets with clang (in build-fuzz/), replays the seed corpus and every input
# that ever failed (fuzz/regressions/), then fuzzes each target for SECONDS (default 60).
# New inputs collect in build-fuzz/corpus-*, failures in build-fuzz/artifacts-*: a failing
# input, once fixed, is copied into fuzz/regressions/ so that every later run replays it.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}

bash scripts/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKUV_FUZZ=ON -DKUV_WERROR=ON -DKUV_BUILD_TESTS=OFF -DKUV_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target scene_fuzzer image_fuzzer svg_import_fuzzer

# fontconfig keeps a little of its configuration until exit on purpose.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# fuzz TARGET KIND MAX-LEN [OPTION...]
fuzz() {
  local target=$root/build-fuzz/fuzz/$1 kind=$2 maxlen=$3
  shift 3
  local common=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len="$maxlen" "$@")
  local work=$root/build-fuzz/corpus-$kind artifacts=$root/build-fuzz/artifacts-$kind/
  mkdir -p "$work" "$artifacts"
  # A kind without a past failure has no regressions folder yet (git keeps no empty folders).
  # The replay names its folders as someone running the fuzzer by hand would, relative to the
  # folder it starts in, although the target works in a folder of its own.
  local replay=("fuzz/corpus/$kind")
  [ -d "$root/fuzz/regressions/$kind" ] && replay+=("fuzz/regressions/$kind")
  echo "== $kind: replaying the seeds and the regressions"
  "$target" -runs=0 "${common[@]}" -artifact_prefix="$artifacts" "${replay[@]}" 2>&1 | tee "$work.replay.log"
  if ! grep -Eq "[1-9][0-9]* files found in .*fuzz/corpus/$kind" "$work.replay.log"; then
    echo "FAIL: $kind: the seeds named by a relative path were not read" >&2
    return 1
  fi
  echo "== $kind: fuzzing for $seconds s"
  "$target" -max_total_time="$seconds" -print_final_stats=1 "${common[@]}" -artifact_prefix="$artifacts" \
    "$work" "$root/fuzz/corpus/$kind" 2>&1 | grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==|SUMMARY|artifact)|ERROR|Test unit" || true
  # The pipe hides the fuzzer's status: a failure leaves its input among the artifacts.
  if compgen -G "$artifacts*" >/dev/null; then
    echo "FAIL: $kind: failing inputs in $artifacts" >&2
    return 1
  fi
}

fuzz scene_fuzzer scene 4096 -dict="$root/fuzz/tvs.dict"
fuzz image_fuzzer image 65536
fuzz svg_import_fuzzer svg 16384 -dict="$root/fuzz/svg.dict"
echo "fuzzing: no failures"

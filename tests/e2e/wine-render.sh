#!/usr/bin/env bash
# The Windows tvs-render under Wine against the Linux one: frames of the production at one tick in
# every movement match (at least 99.5 % of pixels with every channel within 2 levels), and failed
# loads give the same exit codes and texts.
# Usage: wine-render.sh WINDOWS-FOLDER PATH-TO-LINUX-TVS-RENDER
#   (needs wine, xvfb-run, imagemagick; failed frames are kept in $KUV_E2E_KEEP when it is set)
set -uo pipefail

if [ $# -ne 2 ] || [ ! -f "$1/tvs-render.exe" ] || [ ! -x "$2" ]; then
  echo "usage: $0 WINDOWS-FOLDER PATH-TO-LINUX-TVS-RENDER" >&2
  exit 2
fi
folder=$(realpath "$1")
linux=$(realpath "$2")

# shellcheck source=x11.sh
source "$(dirname "$0")/x11.sh"
on_virtual_display 1500 1280x1024x24 "$0" "$folder" "$linux" -- wine wineserver compare convert
# shellcheck source=wine.sh
source "$(dirname "$0")/wine.sh"
begin_run
begin_wine

# One tick in each of the seven movements, the title's and the credits' text among them.
TICKS=${KUV_E2E_TICKS:-8000,24000,45000,68000,92000,115000,135000}

# Prints the share of pixels (in %) of $1 and $2 with some channel more than 2 levels apart.
differing_percent() {
  convert "$1" "$2" -alpha off -compose difference -composite -separate -evaluate-sequence max \
    -threshold 1% -format '%[fx:mean*100]' info:
}

case_frames() {
  mkdir -p "$work/linux" "$work/windows"
  (cd "$folder" && "$linux" 'data\tessik\postprocess.tvs' --at "$TICKS" --out "$work/linux" >/dev/null) ||
    fail "frames: the Linux tvs-render failed"
  local started=$SECONDS
  (cd "$folder" && timeout 900 wine tvs-render.exe 'data\tessik\postprocess.tvs' --at "$TICKS" \
    --out "$(winepath -w "$work/windows")" >/dev/null 2>"$work/windows.err")
  local status=$?
  if [ "$status" = 0 ]; then
    pass "frames: tvs-render.exe drew ${TICKS//,/ } in $((SECONDS - started)) s"
  else
    fail "frames: tvs-render.exe exit status $status: $(tr -d '\r' <"$work/windows.err")"
  fi
  local tick off
  for tick in ${TICKS//,/ }; do
    if [ ! -f "$work/windows/$tick.png" ]; then
      fail "frames: no Windows frame at $tick"
      continue
    fi
    off=$(differing_percent "$work/linux/$tick.png" "$work/windows/$tick.png")
    if awk -v off="$off" 'BEGIN { exit !(off <= 0.5) }'; then
      pass "frames: tick $tick: ${off}% of pixels differ by more than 2 levels"
    else
      fail "frames: tick $tick: ${off}% of pixels differ by more than 2 levels"
      keep_frame "$tick"
    fi
  done
}

keep_frame() {
  [ -n "${KUV_E2E_KEEP:-}" ] || return 0
  mkdir -p "$KUV_E2E_KEEP"
  cp "$work/linux/$1.png" "$KUV_E2E_KEEP/$1-linux.png"
  cp "$work/windows/$1.png" "$KUV_E2E_KEEP/$1-windows.png"
  convert "$work/linux/$1.png" "$work/windows/$1.png" -compose difference -composite "$KUV_E2E_KEEP/$1-difference.png"
}

# Runs a program of both builds in a case folder with the same arguments; their exit codes and
# texts (standard output and error together) must agree.
expect_same_of() {
  local program=$1 name=$2 dir=$3
  shift 3
  local linux_status windows_status
  (cd "$dir" && "$(dirname "$linux")/$program" "$@" >"$dir/linux.out" 2>&1)
  linux_status=$?
  (cd "$dir" && timeout 120 wine "$folder/$program.exe" "$@" 2>&1 | tr -d '\r' >"$dir/windows.out")
  windows_status=${PIPESTATUS[0]}
  if [ "$linux_status" = "$windows_status" ] && cmp -s "$dir/linux.out" "$dir/windows.out"; then
    pass "$name: exit code $windows_status and the same text: $(head -c 200 "$dir/linux.out")"
  else
    fail "$name: Linux $linux_status \"$(cat "$dir/linux.out")\", Windows $windows_status \"$(cat "$dir/windows.out")\""
  fi
}

expect_same() { expect_same_of tvs-render "$@"; }

case_failed_loads() {
  local dir="$work/loads"
  mkdir -p "$dir/data/tessik"
  expect_same "missing scene" "$dir" 'data\tessik\missing.tvs'
  sed 's/Rectangle{/Triangle{/' "$folder/data/tessik/title.tvs" >"$dir/data/tessik/broken.tvs"
  printf 'Tavisk{\nnoOfGeometries 1\n  Box Rectangle{ x 1 y 2 w 3 h\n' >"$dir/data/tessik/cut.tvs"
  expect_same "unknown record" "$dir" 'data\tessik\broken.tvs'
  expect_same "scene cut short" "$dir" 'DATA\TESSIK\CUT.TVS'
  expect_same "bad command line" "$dir" --size 0x0 'data\tessik\cut.tvs'
}

# tvs-check.exe finds the same fonts through the fonts shipped beside it and says the same things.
case_checker() {
  local dir="$work/checker"
  mkdir -p "$dir/data/tessik"
  cp -r "$folder/data" "$dir/"
  cat >"$dir/data/tessik/fonts.tvs" <<'SCENE'
Tavisk{
noOfGeometries 3
  Known Text{ text Hi font Arial size 10 x 0 y 0 w 40 h 20 hitTest 0 }
  Aliased Text{ text Hi font Times size 10 x 0 y 20 w 40 h 20 hitTest 0 }
  Missing Text{ text Hi font NoSuchFamilyAtAll size 10 x 0 y 40 w 40 h 20 hitTest 0 }
noOfBrushes 0
noOfImages 0
noOfTransforms 0
noOfChildKuvs 0
noOfExecutables 0
noOfControllers 0
noOfAnimations 0
}
SCENE
  expect_same_of tvs-check "checker: the production" "$dir" 'data\tessik\postprocess.tvs'
  expect_same_of tvs-check "checker: fonts" "$dir" 'data\tessik\fonts.tvs'
  expect_same_of tvs-check "checker: timeline" "$dir" --timeline --until 30000 'data\tessik\postprocess.tvs'
}

for name in ${KUV_E2E_CASES:-frames failed_loads checker}; do
  "case_$name"
done
end_wine

if [ "$failures" -eq 0 ]; then
  echo "tvs-render under Wine: all cases passed"
  exit 0
fi
echo "tvs-render under Wine: $failures check(s) failed"
exit 1

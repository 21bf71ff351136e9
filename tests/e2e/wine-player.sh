#!/usr/bin/env bash
# End-to-end runs of the Windows player under Wine on a virtual X display, as a user meets it: the
# configuration question (No, and once Yes), the window with its title and first frames, Escape,
# a left click, a broken scene, a missing data folder, and the whole production to its end.
# Usage: wine-player.sh WINDOWS-FOLDER   (needs wine, xvfb-run, xdotool, xwininfo, xprop, imagemagick)
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1/velorine.exe" ]; then
  echo "usage: $0 WINDOWS-FOLDER" >&2
  exit 2
fi
folder=$(realpath "$1")
repo=$(cd "$(dirname "$0")/../.." && pwd)

# shellcheck source=x11.sh
source "$(dirname "$0")/x11.sh"
on_virtual_display 900 1280x1024x24 "$0" "$folder" -- wine wineserver xdotool xwininfo xprop import convert
# shellcheck source=wine.sh
source "$(dirname "$0")/wine.sh"
begin_run
begin_wine

# The rectangle scene, with the soundtrack beside it.
write_scene() {
  write_rectangle_scene "$1"
  mkdir -p "$1/data/music"
  cp "$repo/data/music/vantrel.mp3" "$1/data/music/vantrel.mp3"
}

# A working directory for one case: "scene" (the rectangle), "production" (the folder's data) or nothing.
make_case() {
  local dir="$work/$1"
  mkdir -p "$dir"
  case ${2:-} in
  scene) write_scene "$dir" ;;
  production) cp -r "$folder/data" "$dir/data" ;;
  esac
  echo "$dir"
}

start_player() {
  (cd "$1" && exec wine "$folder/velorine.exe" >"$1/stdout" 2>"$1/stderr") &
  pid=$!
}

# Keys go to the focused window: Wine takes no synthetic key events.
press_key() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.3
  xdotool key "$2"
}

# Answers the configuration question: "no" with Escape, "yes" with Return.
answer() {
  local box key=Escape
  [ "$1" = yes ] && key=Return
  box=$(wait_window '"Velorine - configuration"' 60) || return 1
  sleep 0.5
  shot "$box" "question-$1"
  press_key "$box" "$key"
}

main_window() { wait_window '"Velorine: Current Frame Rate (fps) = ' 60; }

# Keeps a screenshot of window $1 as $KUV_E2E_KEEP/$2.png when that folder is set.
shot() {
  [ -n "${KUV_E2E_KEEP:-}" ] || return 0
  mkdir -p "$KUV_E2E_KEEP"
  import -window "$1" "$KUV_E2E_KEEP/$2.png" 2>/dev/null || true
}

expect_pixel() {
  local window=$1 x=$2 y=$3 want=$4 what=$5 got
  got=$(pixel_of "$window" "$x" "$y") || {
    fail "$what: no screenshot of window $window"
    return
  }
  read -r r g b <<<"$got"
  read -r wr wg wb <<<"$want"
  if ((r - wr <= 8 && wr - r <= 8 && g - wg <= 8 && wg - g <= 8 && b - wb <= 8 && wb - b <= 8)); then
    pass "$what: pixel ($x, $y) is $got"
  else
    fail "$what: pixel ($x, $y) is $got, expected $want"
  fi
}

title_of() { xprop -id "$1" WM_NAME | sed 's/^[^=]*= //'; }

expect_title() {
  local title
  title=$(title_of "$1")
  if [[ $title =~ ^\"Velorine:\ Current\ Frame\ Rate\ \(fps\)\ =\ (inf|[0-9][0-9.e+]*)\"$ ]]; then
    pass "$2: title $title"
  else
    fail "$2: title $title"
  fi
}

MAGENTA="255 0 255"
WHITE="255 255 255"

case_windowed_run() {
  local dir window
  dir=$(make_case windowed scene)
  start_player "$dir"
  answer no || fail "windowed: no configuration question appeared"
  if ! window=$(main_window); then
    fail "windowed: no window titled with the frame rate"
    wait_exit 5
    return
  fi
  sleep 1
  shot "$window" windowed
  expect_title "$window" windowed
  expect_pixel "$window" 400 300 "$MAGENTA" "windowed: the scene's rectangle"
  expect_pixel "$window" 20 20 "$WHITE" "windowed: the white background"
  press_key "$window" Escape
  wait_exit 15
  if [ "$status" = 0 ]; then pass "windowed: Escape ends the run with code 0"; else fail "windowed: Escape gave exit status $status"; fi
  # The soundtrack went out through Windows' audio (Wine's, into the null device), not the silent stand-in.
  if grep -q "no usable sound device" "$dir/stderr"; then
    fail "windowed: no audio output: $(tr -d '\r' <"$dir/stderr")"
  else
    pass "windowed: the soundtrack played through the audio output"
  fi
}

case_left_click() {
  local dir window
  dir=$(make_case click scene)
  start_player "$dir"
  answer no || fail "click: no configuration question appeared"
  if ! window=$(main_window); then
    fail "click: no window"
    wait_exit 5
    return
  fi
  sleep 1
  xdotool mousemove --window "$window" 400 300 click 1
  wait_exit 15
  if [ "$status" = 0 ]; then pass "click: a left-button release ends the process with code 0"; else fail "click: exit status $status"; fi
}

# Full screen covers the 1280 x 1024 screen and shows the whole picture 1.6 times enlarged,
# 1280 x 960 pixels from y = 32, between black bars.
case_full_screen() {
  local dir window
  dir=$(make_case fullscreen scene)
  start_player "$dir"
  answer yes || fail "full screen: no configuration question appeared"
  if ! window=$(main_window); then
    fail "full screen: no window"
    wait_exit 5
    return
  fi
  sleep 1.5
  shot root fullscreen
  expect_pixel root 640 512 "$MAGENTA" "full screen: the rectangle in the middle"
  expect_pixel root 100 112 "$WHITE" "full screen: the white background"
  expect_pixel root 640 16 "0 0 0" "full screen: the black bar above"
  expect_pixel root 640 1008 "0 0 0" "full screen: the black bar below"
  press_key "$window" Escape
  wait_exit 15
  if [ "$status" = 0 ]; then pass "full screen: Escape ends the run with code 0"; else fail "full screen: exit status $status"; fi
}

# Without any audio device the show still plays, silently, after a warning, as on Linux.
case_no_audio() {
  local dir window
  dir=$(make_case noaudio scene)
  timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
  timeout 60 wineserver -w
  start_player "$dir"
  answer no || fail "no audio: no configuration question appeared"
  if window=$(main_window); then
    sleep 1
    expect_pixel "$window" 400 300 "$MAGENTA" "no audio: the scene plays"
    press_key "$window" Escape
  else
    fail "no audio: no window"
  fi
  wait_exit 15
  if [ "$status" = 0 ] && grep -q "velorine: warning: no usable sound device" "$dir/stderr"; then
    pass "no audio: exit code 0 after the warning: $(grep -o 'no usable sound device.*' "$dir/stderr" | tr -d '\r')"
  else
    fail "no audio: exit status $status; stderr: $(tr -d '\r' <"$dir/stderr")"
  fi
  timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
  timeout 60 wineserver -w
}

# An "Error" box, answered with Return, then exit code 1.
expect_error_box() {
  local what=$1 box
  if box=$(wait_window '"Error"' 60); then
    pass "$what: an \"Error\" box appeared"
    sleep 0.5
    shot "$box" "error-$2"
    press_key "$box" Return
  else
    fail "$what: no \"Error\" box"
  fi
  wait_exit 15
  if [ "$status" = 1 ]; then pass "$what: exit code 1 after the box"; else fail "$what: exit status $status"; fi
}

case_broken_scene() {
  local dir
  dir=$(make_case broken scene)
  sed -i 's/Rectangle{/Triangle{/' "$dir/data/tessik/postprocess.tvs"
  start_player "$dir"
  answer no || fail "broken scene: no configuration question appeared"
  expect_error_box "broken scene" broken
}

case_missing_data() {
  local dir
  dir=$(make_case nodata)
  start_player "$dir"
  answer no || fail "missing data: no configuration question appeared"
  expect_error_box "missing data" nodata
}

# The production by itself: the frames go on until its end at 154 s, then exit code 0.
case_production() {
  local dir window started fps
  dir=$(make_case production production)
  start_player "$dir"
  answer no || fail "production: no configuration question appeared"
  started=$SECONDS
  if ! window=$(main_window); then
    fail "production: no window"
    wait_exit 5
    return
  fi
  sleep 3
  shot "$window" production-start
  # The opening's colours, as the Linux tvs-render draws them from 3 s on: the sky at the top and
  # near the horizon, and the gold rule under the title.
  expect_pixel "$window" 20 20 "2 2 9" "production: the night sky"
  expect_pixel "$window" 400 560 "24 13 40" "production: the sky near the horizon"
  expect_pixel "$window" 400 392 "208 165 73" "production: the gold rule"
  for at in 20 40 60 80 100 120 140; do
    while ((SECONDS - started < at)) && kill -0 "$pid" 2>/dev/null; do sleep 1; done
    fps+=" $(title_of "$window" | grep -o '[0-9.]*"$' | tr -d '"')"
    shot "$window" "production-$at"
  done
  wait_exit 60
  local took=$((SECONDS - started))
  if [ "$status" = 0 ] && ((took >= 150 && took <= 175)); then
    pass "production: played to its end, exit code 0 after $took s (frames per second:$fps)"
  else
    fail "production: exit status $status after $took s (frames per second:$fps); stderr: $(cat "$dir/stderr")"
  fi
}

for name in ${KUV_E2E_CASES:-windowed_run left_click full_screen no_audio broken_scene missing_data production}; do
  "case_$name"
done
end_wine

if [ "$failures" -eq 0 ]; then
  echo "player under Wine: all cases passed"
  exit 0
fi
echo "player under Wine: $failures check(s) failed"
exit 1

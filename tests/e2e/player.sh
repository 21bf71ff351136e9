#!/usr/bin/env bash
# End-to-end runs of the player on a virtual X display: the configuration question, the
# window, its title and picture, resizing, Escape, a left click, full screen, a missing
# soundtrack, a broken scene and no display at all.
# Usage: player.sh PATH-TO-VELORINE   (needs xvfb-run, xdotool, xwininfo, xprop, imagemagick)
set -uo pipefail

if [ $# -ne 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 PATH-TO-VELORINE" >&2
  exit 2
fi
player=$(realpath "$1")
repo=$(cd "$(dirname "$0")/../.." && pwd)

# shellcheck source=x11.sh
source "$(dirname "$0")/x11.sh"
on_virtual_display 270 1280x1024x24 "$0" "$player" -- xdotool xwininfo xprop import convert

begin_run

write_soundtrack() {
  mkdir -p "$1/data/music"
  cp "$repo/data/music/vantrel.mp3" "$1/data/music/vantrel.mp3"
}

# A fresh working directory for one case: scene and soundtrack as asked ("scene", "sound").
make_case() {
  local dir="$work/$1"
  shift
  mkdir -p "$dir"
  for part in "$@"; do
    case $part in
    scene) write_rectangle_scene "$dir" ;;
    sound) write_soundtrack "$dir" ;;
    esac
  done
  echo "$dir"
}

start_player() {
  (cd "$1" && exec "$player" >"$1/stdout" 2>"$1/stderr") &
  pid=$!
}

# Answers the configuration question: "no" with Escape, "yes" with Return.
answer() {
  local box key=Escape
  [ "$1" = yes ] && key=Return
  box=$(wait_window '"Velorine - configuration"' 20) || return 1
  xdotool key --window "$box" "$key"
}

main_window() { wait_window '"Velorine: Current Frame Rate (fps) = ' 20; }

# Checks pixel (x, y) of window $1 against "R G B" within 8 per channel.
expect_pixel() {
  local window=$1 x=$2 y=$3 want=$4 what=$5 got
  got=$(pixel_of "$window" "$x" "$y") || {
    fail "$what: no screenshot of window $window"
    return
  }
  read -r r g b <<<"$got"
  read -r wr wg wb <<<"$want"
  if ((${r} - wr <= 8 && wr - r <= 8 && g - wg <= 8 && wg - g <= 8 && b - wb <= 8 && wb - b <= 8)); then
    pass "$what: pixel ($x, $y) is $got"
  else
    fail "$what: pixel ($x, $y) is $got, expected $want"
  fi
}

window_size() { xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }

press_escape() {
  xdotool windowfocus "$1" 2>/dev/null
  sleep 0.2
  xdotool key Escape
}

MAGENTA="255 0 255"
WHITE="255 255 255"

case_windowed_run() {
  local dir window title size
  dir=$(make_case windowed scene sound)
  start_player "$dir"
  answer no || fail "windowed: no configuration question appeared"
  if ! window=$(main_window); then
    fail "windowed: no window titled with the frame rate"
    wait_exit 5
    return
  fi
  title=$(xprop -id "$window" WM_NAME)
  if [[ $title =~ ^WM_NAME\(STRING\)\ =\ \"Velorine:\ Current\ Frame\ Rate\ \(fps\)\ =\ (inf|[0-9][0-9.e+]*)\"$ ]]; then
    pass "windowed: title $title"
  else
    fail "windowed: title $title"
  fi
  if xprop -id "$window" WM_CLASS | grep -q '"KuvWindow"'; then pass "windowed: class KuvWindow"; else fail "windowed: $(xprop -id "$window" WM_CLASS)"; fi
  size=$(window_size "$window")
  if [ "$size" = 800x600 ]; then pass "windowed: window is 800x600"; else fail "windowed: window is $size, expected 800x600"; fi
  expect_pixel "$window" 400 300 "$MAGENTA" "windowed: the scene's rectangle"
  expect_pixel "$window" 20 20 "$WHITE" "windowed: the white background"

  xdotool windowsize "$window" 640 480
  sleep 0.5
  size=$(window_size "$window")
  if [ "$size" = 640x480 ]; then pass "windowed: resized to 640x480"; else fail "windowed: resized to $size"; fi
  expect_pixel "$window" 620 460 "$MAGENTA" "windowed: after resizing, the rectangle"
  expect_pixel "$window" 50 50 "$WHITE" "windowed: after resizing, the background"

  press_escape "$window"
  wait_exit 10
  if [ "$status" = 0 ]; then pass "windowed: Escape ends the run with code 0"; else fail "windowed: Escape gave exit status $status"; fi
  if [ ! -s "$dir/stderr" ]; then pass "windowed: nothing on stderr"; else fail "windowed: stderr: $(cat "$dir/stderr")"; fi
}

case_left_click() {
  local dir window
  dir=$(make_case click scene sound)
  start_player "$dir"
  answer no || fail "click: no configuration question appeared"
  if ! window=$(main_window); then
    fail "click: no window"
    wait_exit 5
    return
  fi
  xdotool mousemove --window "$window" 400 300 click 1
  wait_exit 5
  if [ "$status" = 0 ]; then pass "click: a left-button release ends the process with code 0"; else fail "click: exit status $status"; fi
}

# Four magenta 100 x 100 squares in the corners of the 800 x 600 picture.
write_corner_scene() {
  cat >"$1/data/tessik/postprocess.tvs" <<'SCENE'
Tavisk{
noOfGeometries 4
  TL Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }
  TR Rectangle{ x 700 y 0 w 100 h 100 hitTest 0 }
  BL Rectangle{ x 0 y 500 w 100 h 100 hitTest 0 }
  BR Rectangle{ x 700 y 500 w 100 h 100 hitTest 0 }
noOfBrushes 1
  Paint SolidColorBrush{ Color{ 1 0 1 1 } opacity 1 }
noOfImages 0
noOfTransforms 0
noOfChildKuvs 0
noOfExecutables 1
  Draw Procedure{ noOfCommands 4 Fill{ TL Paint } Fill{ TR Paint } Fill{ BL Paint } Fill{ BR Paint } }
noOfControllers 0
noOfAnimations 1
  MainAnim Animation{ renderFunction Draw controller null transitionTarget null }
}
SCENE
}

# The virtual screen is 1280 x 1024 at its default DPI and offers no mode of the picture's size:
# full screen covers it and shows the whole picture 1.6 times enlarged, 1280 x 960 pixels from
# y = 32, between black bars, with no window manager to help.
case_full_screen() {
  local dir window size
  dir=$(make_case fullscreen scene sound)
  write_corner_scene "$dir"
  start_player "$dir"
  answer yes || fail "full screen: no configuration question appeared"
  if ! window=$(main_window); then
    fail "full screen: no window"
    wait_exit 5
    return
  fi
  sleep 0.5
  size=$(window_size "$window")
  if [ "$size" = 1280x1024 ]; then pass "full screen: the window covers the screen"; else fail "full screen: the window is $size"; fi
  expect_pixel root 80 112 "$MAGENTA" "full screen: the top-left square"
  expect_pixel root 1200 112 "$MAGENTA" "full screen: the top-right square"
  expect_pixel root 80 912 "$MAGENTA" "full screen: the bottom-left square"
  expect_pixel root 1200 912 "$MAGENTA" "full screen: the bottom-right square"
  expect_pixel root 158 190 "$MAGENTA" "full screen: the top-left square ends at 160, 192"
  expect_pixel root 162 194 "$WHITE" "full screen: the white background past it"
  expect_pixel root 640 512 "$WHITE" "full screen: the white background"
  expect_pixel root 640 30 "0 0 0" "full screen: the black bar above"
  expect_pixel root 640 994 "0 0 0" "full screen: the black bar below"
  press_escape "$window"
  wait_exit 10
  if [ "$status" = 0 ]; then pass "full screen: Escape ends the run with code 0"; else fail "full screen: exit status $status"; fi
}

case_missing_soundtrack() {
  local dir
  dir=$(make_case nosound scene)
  start_player "$dir"
  answer no || fail "missing soundtrack: no configuration question appeared"
  wait_exit 20
  if [ "$status" = 1 ]; then pass "missing soundtrack: exit code 1"; else fail "missing soundtrack: exit status $status"; fi
  if grep -qF 'cannot open the soundtrack "data\music\vantrel.mp3"' "$dir/stderr" && [ "$(wc -l <"$dir/stderr")" = 1 ]; then
    pass "missing soundtrack: one line on stderr: $(cat "$dir/stderr")"
  else
    fail "missing soundtrack: stderr: $(cat "$dir/stderr")"
  fi
  if wait_window '"Error"' 1 >/dev/null; then fail "missing soundtrack: an Error box was shown"; fi
}

# The scene is loaded before the soundtrack is opened: with both broken, the scene's error shows.
case_broken_scene() {
  local dir box
  dir=$(make_case broken scene)
  sed -i 's/Rectangle{/Triangle{/' "$dir/data/tessik/postprocess.tvs"
  start_player "$dir"
  answer no || fail "broken scene: no configuration question appeared"
  if box=$(wait_window '"Error"' 20); then
    pass "broken scene: an \"Error\" box appeared"
    if xwininfo -id "$box" | grep -q "IsViewable"; then pass "broken scene: the box is on screen"; else fail "broken scene: the box is not viewable"; fi
    xdotool key --window "$box" Return
  else
    fail "broken scene: no \"Error\" box"
  fi
  wait_exit 10
  if [ "$status" = 1 ]; then pass "broken scene: exit code 1 after the box"; else fail "broken scene: exit status $status"; fi
  if [ ! -s "$dir/stderr" ]; then pass "broken scene: nothing on stderr, the soundtrack was never opened"; else fail "broken scene: stderr: $(cat "$dir/stderr")"; fi
}

case_no_display() {
  local dir
  dir=$(make_case nodisplay scene sound)
  (cd "$dir" && exec env -u DISPLAY -u WAYLAND_DISPLAY "$player" >"$dir/stdout" 2>"$dir/stderr") &
  pid=$!
  wait_exit 10
  if [ "$status" = 1 ] && grep -q "no display" "$dir/stderr"; then
    pass "no display: exit code 1 with $(cat "$dir/stderr")"
  else
    fail "no display: exit status $status, stderr: $(cat "$dir/stderr")"
  fi
}

# KUV_E2E_CASES narrows the run to some cases (names without "case_"), for debugging.
for name in ${KUV_E2E_CASES:-windowed_run left_click full_screen missing_soundtrack broken_scene no_display}; do
  "case_$name"
done

if [ "$failures" -eq 0 ]; then
  echo "player end-to-end: all cases passed"
  exit 0
fi
echo "player end-to-end: $failures check(s) failed"
exit 1

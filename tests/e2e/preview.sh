#!/usr/bin/env bash
# End-to-end run of tvs-preview on a virtual X display: the window shows the scene, a saved
# change shows within 2 s, a broken save keeps the window and the last good picture and
# shows the error band, Escape ends it with 0; a click on the timeline strip moves the playhead
# and the picture to the clicked time; and the exits of the command line.
# Usage: preview.sh PATH-TO-TVS-PREVIEW   (needs xvfb-run, xdotool, xwininfo, imagemagick)
set -uo pipefail

if [ $# -ne 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 PATH-TO-TVS-PREVIEW" >&2
  exit 2
fi
preview=$(realpath "$1")

# shellcheck source=x11.sh
source "$(dirname "$0")/x11.sh"
on_virtual_display 120 1024x768x24 "$0" "$preview" -- xdotool xwininfo import convert

begin_run

# A full-window rectangle of colour $2 ("R G B" in 0..1), written as scene file $1.
write_scene() {
  write_box_scene "$1" "x 0 y 0 w 2000 h 2000" "$2"
}

# Whether "R G B" $1 is within 12 per channel of $2.
near() {
  read -r r g b <<<"$1"
  read -r wr wg wb <<<"$2"
  ((r - wr <= 12 && wr - r <= 12 && g - wg <= 12 && wg - g <= 12 && b - wb <= 12 && wb - b <= 12))
}

# Waits up to $5 s for pixel ($2, $3) of window $1 to be near "R G B" $4; prints the last seen.
wait_pixel() {
  local got="" deadline=$(($(date +%s%N) + $5 * 1000000000))
  while (($(date +%s%N) < deadline)); do
    got=$(pixel_of "$1" "$2" "$3") && near "$got" "$4" && {
      echo "$got"
      return 0
    }
    sleep 0.1
  done
  echo "$got"
  return 1
}

# The error band: a dark red backing under white text.
is_error_red() {
  read -r r g b <<<"$1"
  ((r > 90 && g < 60 && b < 60))
}

# Starts the preview on $1/scene.tvs at 400x300 and sets window; on failure says so as case $2 and
# returns 1.
start_preview() {
  (cd "$1" && exec "$preview" scene.tvs --size 400x300 >"$1/stdout" 2>"$1/stderr") &
  pid=$!
  window=$(wait_window "\"tvs-preview: " 10) && return 0
  fail "$2: no tvs-preview window"
  wait_exit 5
  return 1
}

case_live_window() {
  local dir="$work/live" window got shot
  mkdir -p "$dir"
  write_scene "$dir/scene.tvs" "1 0 1"
  start_preview "$dir" live || return
  if got=$(wait_pixel "$window" 200 150 "255 0 255" 5); then pass "live: the window shows the scene ($got)"; else fail "live: pixel (200, 150) is $got, expected magenta"; fi

  write_scene "$dir/scene.tvs" "0 1 0"
  if got=$(wait_pixel "$window" 200 150 "0 255 0" 2); then pass "live: a saved colour shows within 2 s ($got)"; else fail "live: 2 s after the save pixel (200, 150) is $got, expected green"; fi

  printf 'Tavisk{\nnoOfGeometries 1\n  Box Triangle{ }\n' >"$dir/scene.tvs.tmp" && mv "$dir/scene.tvs.tmp" "$dir/scene.tvs"
  sleep 2.5
  if ! kill -0 "$pid" 2>/dev/null; then
    fail "live: the preview ended after a broken save"
    wait_exit 1
    return
  fi
  pass "live: the window stays open after a broken save"
  got=$(pixel_of "$window" 3 297)
  if is_error_red "$got"; then pass "live: the error band is shown ($got)"; else fail "live: pixel (3, 297) is $got, expected the error band"; fi
  got=$(pixel_of "$window" 200 120)
  if near "$got" "0 255 0"; then pass "live: the last good picture stays above the band"; else fail "live: pixel (200, 120) is $got, expected green"; fi
  shot="${KUV_E2E_SHOTS:-}"
  [ -n "$shot" ] && cp "$work/last.png" "$shot/preview-error-band.png"

  xdotool windowfocus "$window"
  sleep 0.2
  xdotool key Escape
  wait_exit 10
  if [ "$status" = 0 ]; then pass "live: Escape ends the preview with 0"; else fail "live: Escape gave exit status $status"; fi
}

# Runs the preview with arguments $2... in $work, expecting exit status $1; sets out and err.
run_expecting() {
  local want=$1
  shift
  (cd "$work" && timeout 20 "$preview" "$@" >"$work/out" 2>"$work/err")
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
  [ "$status" = "$want" ]
}

case_command_line() {
  if run_expecting 0 --help && [[ $out == usage:\ tvs-preview* ]] && [ -z "$err" ]; then pass "--help: usage on stdout, exit 0"; else fail "--help: status $status, stdout $out, stderr $err"; fi
  if run_expecting 64 scene.tvs --size 0x0 && [[ $err == *'bad value for --size: "0x0"'*usage:* ]]; then pass "bad command line: exit 64 with the usage"; else fail "bad command line: status $status, stderr $err"; fi
  if run_expecting 1 missing.tvs && [ "$err" = 'tvs-preview: could not open the file "missing.tvs"' ]; then pass "missing scene: exit 1 with one line"; else fail "missing scene: status $status, stderr $err"; fi
  write_scene "$work/scene.tvs" "1 0 0"
  if run_expecting 1 scene.tvs --music missing.mp3 && [ "$(wc -l <"$work/err")" = 1 ] && [[ $err == 'tvs-preview: cannot open the music "missing.mp3"'* ]]; then pass "missing music: exit 1 with one line"; else fail "missing music: status $status, stderr $err"; fi
  if run_expecting 1 scene.tvs --flashes missing.txt && [ "$err" = 'tvs-preview: cannot open the flash report "missing.txt"' ]; then pass "missing flash report: exit 1 with one line"; else fail "missing flash report: status $status, stderr $err"; fi
  if (cd "$work" && exec env -u DISPLAY -u WAYLAND_DISPLAY "$preview" scene.tvs >"$work/out" 2>"$work/err"); then status=0; else status=$?; fi
  if [ "$status" = 1 ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q "no display" "$work/err"; then pass "no display: exit 1 with $(cat "$work/err")"; else fail "no display: status $status, stderr $(cat "$work/err")"; fi
}

# A scene that is red for its first minute and blue after it (a 154-s run over the strip).
write_timed_scene() {
  cat >"$1" <<SCENE
Tavisk{
noOfGeometries 1
  Box Rectangle{ x 0 y 0 w 2000 h 2000 hitTest 0 }
noOfBrushes 2
  Red SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }
  Blue SolidColorBrush{ Color{ 0 0 1 1 } opacity 1 }
noOfImages 0
noOfTransforms 0
noOfChildKuvs 0
noOfExecutables 2
  DrawRed Procedure{ noOfCommands 1 Fill{ Box Red } }
  DrawBlue Procedure{ noOfCommands 1 Fill{ Box Blue } }
noOfControllers 2
  Minute Const{ target null begin 0 end 60000 loops 0 value 0 noOfChildren 0 }
  Always Const{ target null begin 0 end 1000 loops 1 value 0 noOfChildren 0 }
noOfAnimations 2
  MainAnim Animation{ renderFunction DrawRed controller Minute transitionTarget Later }
  Later Animation{ renderFunction DrawBlue controller Always transitionTarget null }
}
SCENE
}

# The playhead: a white column in the strip's lanes.
is_white() {
  read -r r g b <<<"$1"
  ((r > 230 && g > 230 && b > 230))
}

case_strip_seeks() {
  local dir="$work/strip" window got x y
  mkdir -p "$dir"
  write_timed_scene "$dir/scene.tvs"
  start_preview "$dir" strip || return
  if got=$(wait_pixel "$window" 200 150 "255 0 0" 5); then pass "strip: the scene starts red ($got)"; else fail "strip: pixel (200, 150) is $got, expected red"; fi
  read -r _ height < <(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{print w, $2}')
  if ((height > 300)); then pass "strip: the window grew by the strip ($height px high)"; else fail "strip: the window is $height px high"; fi
  # The time runs over the 308 columns right of the lanes' names: 500 ms a column, so 120 s is at 92 + 240.
  x=332
  y=$((300 + 10))
  xdotool windowfocus "$window"
  xdotool key space
  xdotool mousemove --window "$window" "$x" "$y" click 1
  if got=$(wait_pixel "$window" 200 150 "0 0 255" 3); then pass "strip: a click at 120 s shows the picture of 120 s ($got)"; else fail "strip: after the click pixel (200, 150) is $got, expected blue"; fi
  xdotool mousemove --window "$window" 10 10
  sleep 0.3
  got=$(pixel_of "$window" "$x" $((300 + 25)))
  if is_white "$got"; then pass "strip: the playhead stands at the click ($got)"; else fail "strip: pixel ($x, 325) is $got, expected the playhead"; fi
  xdotool mousemove --window "$window" 152 "$y" click 1
  if got=$(wait_pixel "$window" 200 150 "255 0 0" 3); then pass "strip: a click at 30 s goes back to red ($got)"; else fail "strip: after the second click pixel (200, 150) is $got, expected red"; fi
  shot="${KUV_E2E_SHOTS:-}"
  [ -n "$shot" ] && cp "$work/last.png" "$shot/preview-strip.png"
  xdotool key Escape
  wait_exit 10
}

case_live_window
case_strip_seeks
case_command_line

if [ "$failures" -eq 0 ]; then
  echo "preview end-to-end: all cases passed"
  exit 0
fi
echo "preview end-to-end: $failures check(s) failed"
exit 1

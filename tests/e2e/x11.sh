# Helpers shared by the end-to-end scripts that drive a program on a virtual X display.
# Sourced first. The cleanup and reporting helpers use work (a scratch folder), pid (the
# program's process, or empty) and failures (a count), which begin_run sets.

# Run first: checks that every tool named after "--" is installed, then runs the calling
# script once more (with its arguments) on its own virtual display, for at most SECONDS, in
# a SCREEN ("1280x1024x24"); on that second run it returns and the script goes on.
# Usage: on_virtual_display SECONDS SCREEN SCRIPT ARGS... -- TOOLS...
on_virtual_display() {
  [ -n "${KUV_E2E_DISPLAY_READY:-}" ] && return 0
  local seconds=$1 screen=$2 script=$3
  shift 3
  local arguments=()
  while [ "$1" != "--" ]; do
    arguments+=("$1")
    shift
  done
  shift
  for tool in xvfb-run Xvfb "$@" timeout; do
    if ! command -v "$tool" >/dev/null; then
      echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"
      exit 1
    fi
  done
  export KUV_E2E_DISPLAY_READY=1
  exec timeout -k 5 "$seconds" xvfb-run -a -s "-screen 0 $screen -nolisten tcp" bash "$script" "${arguments[@]}"
}

# Run second, on the virtual display: silent audio, SDL's own choice of video driver, a
# scratch folder, no program and no failures yet; the folder and any program go at exit.
begin_run() {
  export SDL_AUDIODRIVER=dummy
  unset SDL_VIDEODRIVER
  work=$(mktemp -d)
  failures=0
  pid=""
  status=""
  trap cleanup EXIT
}

cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null; fi
  rm -rf "$work"
}

pass() { echo "PASS: $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Every X client call is bounded, so that a confused server or window cannot hang the test,
# and tried again on failure: the virtual server sometimes drops a connection that arrives
# while it is closing another one.
x_call() {
  local seconds=$1
  shift
  for attempt in 1 2 3; do
    timeout "$seconds" env "$@" && return 0
    sleep 0.2
  done
  return 1
}
# xdotool complains about the focus of a server without a window manager; that is not news.
xdotool() { x_call 5 xdotool "$@" 2>/dev/null; }
xwininfo() { x_call 5 xwininfo "$@"; }
xprop() { x_call 5 xprop "$@"; }
import() { x_call 10 import "$@"; }

# Prints the id of the first window whose quoted name contains $1, waiting up to $2 s.
wait_window() {
  local pattern=$1 quarters=$(($2 * 4)) id
  for ((i = 0; i < quarters; i++)); do
    id=$(xwininfo -root -tree | grep -F -- "$pattern" | awk '{print $1}' | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.25
  done
  return 1
}

# Waits up to $1 s for the program to end and sets status to its exit code ("hung" if it did not end).
wait_exit() {
  local tenths=$(($1 * 10))
  for ((i = 0; i < tenths; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      pid=""
      return 0
    fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=""
  status=hung
  return 1
}

# Prints "R G B" of pixel (x, y) of window $1; keeps the shot as $work/last.png.
pixel_of() {
  local hex
  import -window "$1" "$work/last.png" 2>/dev/null || return 1
  hex=$(convert "$work/last.png" -format "%[hex:p{$2,$3}]" info: 2>/dev/null) || return 1
  echo "$((16#${hex:0:2})) $((16#${hex:2:2})) $((16#${hex:4:2}))"
}

# A scene file FILE that fills one rectangle ("x X y Y w W h H") with colour "R G B" (0..1), written
# whole and renamed into place, as editors save.
write_box_scene() {
  cat >"$1.tmp" <<SCENE
Tavisk{
noOfGeometries 1
  Box Rectangle{ $2 hitTest 0 }
noOfBrushes 1
  Paint SolidColorBrush{ Color{ $3 1 } opacity 1 }
noOfImages 0
noOfTransforms 0
noOfChildKuvs 0
noOfExecutables 1
  Draw Procedure{ noOfCommands 1 Fill{ Box Paint } }
noOfControllers 0
noOfAnimations 1
  MainAnim Animation{ renderFunction Draw controller null transitionTarget null }
}
SCENE
  mv "$1.tmp" "$1"
}

# The players' test scene, written as DIR/data/tessik/postprocess.tvs: a magenta rectangle from
# (100, 100) to (700, 500) that clears nothing itself, on the player's white background.
write_rectangle_scene() {
  mkdir -p "$1/data/tessik"
  write_box_scene "$1/data/tessik/postprocess.tvs" "x 100 y 100 w 600 h 400" "1 0 1"
}

#!/usr/bin/env bash
# The installed player, started from a folder outside the clone on a virtual X display: it asks
# its question, plays the installed production (the first picture it shows is one of the show's
# opening frames as the clone's tvs-render draws them) and ends with code 0 on Escape.
# Usage: installed-player.sh OPENING-FRAMES-DIR   (PNG files named <tick>.png, 800x600)
set -uo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 OPENING-FRAMES-DIR" >&2
  exit 2
fi
frames=$(realpath "$1")

# shellcheck source=../e2e/x11.sh
source "$(dirname "$0")/../e2e/x11.sh"
on_virtual_display 60 1280x1024x24 "$0" "$frames" -- xdotool xwininfo import compare

begin_run

# Prints "TICK RMSE" of the opening frame closest to the picture $1 (RMSE from 0 to 1).
closest_frame() {
  local shot=$1 frame tick error
  for frame in "$frames"/*.png; do
    tick=$(basename "$frame" .png)
    error=$(compare -metric RMSE "$shot" "$frame" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
    echo "$tick $error"
  done | sort -g -k2 | head -n 1
}

dir=$work/elsewhere
mkdir -p "$dir"
(cd "$dir" && exec velorine >"$work/stdout" 2>"$work/stderr") &
pid=$!
if box=$(wait_window '"Velorine - configuration"' 20); then
  pass "the question \"FullScreen?\" appeared"
  xdotool key --window "$box" Escape
else
  fail "no configuration question appeared"
fi
if window=$(wait_window '"Velorine: Current Frame Rate (fps) = ' 20); then
  pass "the player's window appeared"
  if import -window "$window" "$work/first.png"; then
    read -r tick error <<<"$(closest_frame "$work/first.png")"
    if [ -n "$error" ] && awk -v e="$error" 'BEGIN { exit !(e < 0.03) }'; then
      pass "the first picture is the show's opening, as drawn at $tick ms (RMSE $error)"
    else
      cp "$work/first.png" "${TMPDIR:-/tmp}/velorine-installed-first.png"
      fail "the first picture is none of the opening frames (closest: $tick ms, RMSE $error;" \
        "kept as ${TMPDIR:-/tmp}/velorine-installed-first.png)"
    fi
  else
    fail "no screenshot of the player's window"
  fi
  xdotool windowfocus "$window"
  sleep 0.2
  xdotool key Escape
else
  fail "no window titled with the frame rate (stderr: $(cat "$work/stderr"))"
fi
wait_exit 10
if [ "$status" = 0 ]; then pass "Escape ends the run with code 0"; else fail "exit status $status"; fi
if [ ! -s "$work/stderr" ]; then pass "nothing on stderr"; else fail "stderr: $(cat "$work/stderr")"; fi

[ "$failures" -eq 0 ]

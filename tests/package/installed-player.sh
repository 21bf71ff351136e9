#!/usr/bin/env bash
# The installed player, started from a folder outside the clone on a virtual X display: it asks
# its question, plays the installed production (the first picture it shows is the show's opening,
# as the clone's tvs-render draws it) and ends with code 0 on Escape.
# Usage: installed-player.sh OPENING-FRAMES-DIR   (PNG files named <tick>.png, 800x600)
set -uo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 OPENING-FRAMES-DIR" >&2
  exit 2
fi
frames=$(realpath "$1")

# shellcheck source=../e2e/x11.sh
source "$(dirname "$0")/../e2e/x11.sh"
on_virtual_display 240 1280x1024x24 "$0" "$frames" -- xdotool xwininfo import convert compare

begin_run

# The bands above and below the title's wipe: how far the wipe has come depends on how long the
# load took, the fade and the rest of the picture hardly move while the player starts.
bands() { convert "$1" \( -clone 0 -crop 800x140+0+0 \) \( -clone 0 -crop 800x200+0+400 \) -delete 0 -append +repage "$2"; }

# Prints "TICK RMSE" of the opening frame closest to the picture $1 in those bands (RMSE from 0 to 1).
closest_frame() {
  local frame tick error
  bands "$1" "$work/shot-bands.png" || return 1
  for frame in "$frames"/*.png; do
    tick=$(basename "$frame" .png)
    bands "$frame" "$work/frame-bands.png"
    error=$(compare -metric RMSE "$work/shot-bands.png" "$work/frame-bands.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
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
shot=""
if window=$(wait_window '"Velorine: Current Frame Rate (fps) = ' 20); then
  pass "the player's window appeared"
  import -window "$window" "$work/first.png" && shot=$work/first.png
  xdotool windowfocus "$window"
  sleep 0.2
  xdotool key Escape
else
  fail "no window titled with the frame rate (stderr: $(cat "$work/stderr"))"
fi
wait_exit 10
if [ "$status" = 0 ]; then pass "Escape ends the run with code 0"; else fail "exit status $status"; fi
if [ ! -s "$work/stderr" ]; then pass "nothing on stderr"; else fail "stderr: $(cat "$work/stderr")"; fi

if [ -n "$shot" ]; then
  read -r tick error <<<"$(closest_frame "$shot")"
  if [ -n "$error" ] && awk -v e="$error" 'BEGIN { exit !(e < 0.01) }'; then
    pass "the first picture is the show's opening, as drawn at about $tick ms (RMSE $error outside the wipe)"
  else
    cp "$shot" "${TMPDIR:-/tmp}/velorine-installed-first.png"
    fail "the first picture is none of the opening frames (closest: $tick ms, RMSE $error outside the wipe;" \
      "kept as ${TMPDIR:-/tmp}/velorine-installed-first.png)"
  fi
elif [ -n "${window:-}" ]; then
  fail "no screenshot of the player's window"
fi

[ "$failures" -eq 0 ]

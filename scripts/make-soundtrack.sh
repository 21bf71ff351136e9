#!/usr/bin/env bash
# Synthesises the placeholder soundtrack data/music/vantrel.mp3: a 16-second loop of four
# soft chords (A minor, F, C, G) over a bass line, made with sox and encoded with lame.
# Nothing is downloaded. Usage: scripts/make-soundtrack.sh [output.mp3]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/data/music/vantrel.mp3}
for tool in sox lame; do
  command -v "$tool" >/dev/null || { echo "make-soundtrack: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seconds=4
rate=44100

# One chord: every frequency as a soft sine with a slow swell, mixed to one channel.
chord() {
  local name=$1
  shift
  local voices=()
  for frequency in "$@"; do
    voices+=("|sox -R -n -r $rate -c 1 -p synth $seconds sine $frequency fade q 0.8 $seconds 1.4")
  done
  sox -R -m "${voices[@]}" -r $rate -c 1 "$work/$name.wav"
}

chord 1-am 110 220 261.63 329.63 440
chord 2-f 87.31 174.61 220 261.63 349.23
chord 3-c 65.41 130.81 261.63 329.63 392
chord 4-g 98 196 246.94 293.66 392

sox -R "$work"/1-am.wav "$work"/2-f.wav "$work"/3-c.wav "$work"/4-g.wav -c 2 "$work/loop.wav" \
  tremolo 0.5 30 reverb 45 gain -n -4
lame --quiet --resample 44.1 -b 96 -m j "$work/loop.wav" "$out"
echo "make-soundtrack: wrote $out ($(stat -c %s "$out") bytes)"

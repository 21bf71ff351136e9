#!/usr/bin/env bash
# Renders the soundtrack data/music/vantrel.mp3 from its score data/music/vantrel.score: builds the
# synthesiser velorine-synth in build/, renders the score to a WAV file (deterministic: the same score
# gives the same samples) and encodes it with lame at 128 kbit/s. Nothing is downloaded.
# Usage: scripts/make-soundtrack.sh [output.mp3]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/data/music/vantrel.mp3}
score=$root/data/music/vantrel.score
for tool in cmake ninja lame sox; do
  command -v "$tool" >/dev/null || { echo "make-soundtrack: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$root/build" -G Ninja "${launcher[@]}" >/dev/null
cmake --build "$root/build" --target velorine-synth -j 2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$root/build/velorine-synth" "$score" "$work/vantrel.wav" --peak -2.5
# Constant bit rate, joint stereo, no ID3 tag: the same samples always give the same bytes.
lame --quiet --noreplaygain -b 128 --cbr -m j -q 2 --tt Vantrel --ta Velorine --add-id3v2 \
  "$work/vantrel.wav" "$out"
peak=$(sox "$out" -n stats 2>&1 | awk '/^Pk lev dB/ {print $4}')
if awk -v peak="$peak" 'BEGIN {exit !(peak > -1.0)}'; then
  echo "make-soundtrack: the encoded peak is $peak dBFS, above -1 dBFS" >&2
  exit 1
fi
echo "make-soundtrack: wrote $out ($(stat -c %s "$out") bytes, peak $peak dBFS)"

#!/usr/bin/env bash
# Builds the bitmaps of the "gallery" section from code: a nebula (JPEG), a star
# field with alpha (PNG) and a soft glow with alpha (PNG). Fixed seeds and stripped
# metadata make every run write the same files. Needs ImageMagick (install-deps.sh).
set -euo pipefail

cd "$(dirname "$0")/.."
out=data/tessik/textures
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# Night blue -> violet -> dusk orange -> gold: the colour ramp the noise is mapped through.
convert \
  \( -size 1x256 xc:'rgb(4,5,16)' xc:'rgb(8,10,31)' xc:'rgb(22,18,58)' xc:'rgb(62,34,98)' \
     xc:'rgb(107,56,140)' xc:'rgb(190,98,120)' xc:'rgb(245,143,92)' xc:'rgb(255,214,120)' +append -filter triangle -resize 256x1! \) \
  "$tmp/ramp.png"

# Nebula: fractal plasma, grey, contrast-shaped, coloured through the ramp; small, as it is
# only ever seen blurred and magnified, and decoding time grows with the pixel count.
convert -size 512x512 -seed 11 plasma:fractal -blur 0x6 -colorspace Gray \
  -auto-level -sigmoidal-contrast 6x62% -colorspace sRGB -type TrueColor "$tmp/ramp.png" -clut -resize 256x256 \
  -strip -interlace none -sampling-factor 4:2:0 -quality 82 "$out/nebula.jpg"

# Star field: sparse points of random brightness with a small halo, white on transparent.
convert -size 384x384 xc:black -seed 5 +noise Random -channel G -separate +channel \
  -threshold 99.55% "$tmp/points.png"
convert -size 384x384 xc:black -seed 6 +noise Random -channel R -separate +channel \
  "$tmp/points.png" -compose Multiply -composite "$tmp/dots.png"
convert -size 384x384 xc:black -seed 7 +noise Random -channel B -separate +channel \
  -threshold 99.94% "$tmp/bright.png"
convert "$tmp/dots.png" \( +clone -blur 0x1.5 -level 4%,45% \) -compose Lighten -composite \
  \( "$tmp/bright.png" -blur 0x3.5 -level 0%,30% \) -compose Lighten -composite \
  "$tmp/bright.png" -compose Lighten -composite -level 0%,85% "$tmp/alpha.png"
convert -size 384x384 xc:'rgb(242,242,255)' "$tmp/alpha.png" -alpha off -compose CopyOpacity -composite \
  -strip -define png:exclude-chunks=date,time PNG32:"$out/stars.png"

# Glow: a soft round light, white with a radial falloff in alpha.
convert -size 64x64 radial-gradient:white-black -evaluate Pow 2.2 "$tmp/falloff.png"
convert -size 64x64 xc:'rgb(255,236,200)' "$tmp/falloff.png" -alpha off -compose CopyOpacity -composite \
  -strip -define png:exclude-chunks=date,time PNG32:"$out/glow.png"

ls -l "$out"

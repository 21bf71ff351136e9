#!/usr/bin/env bash
# Writes the fontconfig configuration of the Windows folder into FONTS: the one fontconfig built
# from Debian's source installs, reading only the fonts beside it, with the rules Debian enables
# (no sub-pixel colour fringes, no bitmap fonts, DejaVu's aliases).
# Usage: font-config.sh DEPS-PREFIX FONTS
set -euo pipefail
deps="$1"
fonts="$2"
mkdir -p "$fonts/conf.d"
for conf in "$deps"/etc/fonts/conf.d/*.conf "$deps/share/fontconfig/conf.avail/70-no-bitmaps.conf" \
  /etc/fonts/conf.avail/*-dejavu-{sans,sans-mono,serif}.conf; do
  case $(basename "$conf") in
  10-sub-pixel-*) ;;
  *) cp -L "$conf" "$fonts/conf.d/" ;;
  esac
done
sed -e '/<dir[ >]/d' -e '/<cachedir[ >]/d' -e '/^<fontconfig>/r /dev/stdin' "$deps/etc/fonts/fonts.conf" >"$fonts/fonts.conf" <<'DIRS'
<!-- Velorine: only the fonts in this folder, so that every machine draws the same picture. -->
	<dir prefix="relative">.</dir>
	<cachedir>LOCAL_APPDATA_FONTCONFIG_CACHE</cachedir>
DIRS

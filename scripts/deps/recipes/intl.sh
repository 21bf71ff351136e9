# Our own: GLib wants libintl, and the product shows no translated GLib text, so a library that
# answers every message with itself stands in for gettext (as GLib's own proxy-libintl does).
SOURCE=
build() {
  local stub="$here/stubs/intl"
  $CC $CFLAGS -c "$stub/intl.c" -I"$stub" -o intl.o
  $AR rcs "$DEPS_PREFIX/lib/libintl.a" intl.o
  cp "$stub/libintl.h" "$DEPS_PREFIX/include/libintl.h"
}

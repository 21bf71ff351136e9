SOURCE=cairo
build() {
  # Debian's patches touch configure.ac and Makefile.am (for its own build): the generated files
  # shipped in the source serve ours, so make must not try to regenerate them.
  find . \( -name aclocal.m4 -o -name configure -o -name Makefile.in -o -name config.h.in \) -exec touch {} +
  # The image surface with FreeType and fontconfig fonts and PNG output: what the drawing layer uses.
  # On Windows cairo opens files by their UTF-16 names, with a converter it compiles only for the
  # back ends left out here.
  run_configure --enable-ft --enable-fc --enable-png --disable-xlib --disable-xcb --disable-win32 \
    --disable-win32-font --disable-gobject --disable-trace --disable-interpreter --disable-script \
    --disable-ps --disable-pdf --disable-svg --disable-full-testing --disable-gtk-doc --disable-valgrind \
    --disable-symbol-lookup CPPFLAGS="$CPPFLAGS -DCAIRO_HAS_UTF8_TO_UTF16=1"
  deps_nice make -C src -j "$DEPS_JOBS" libcairo.la
  deps_nice make -C src install-libLTLIBRARIES install-nodist_cairoincludeHEADERS \
    install-cairoincludeHEADERS install-pkgconfigDATA
}

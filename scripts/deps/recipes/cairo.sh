SOURCE=cairo
build() {
  # The image surface with FreeType and fontconfig fonts and PNG output: what the drawing layer uses.
  run_configure --enable-ft --enable-fc --enable-png --disable-xlib --disable-xcb --disable-win32 \
    --disable-win32-font --disable-gobject --disable-trace --disable-interpreter --disable-script \
    --disable-ps --disable-pdf --disable-svg --disable-full-testing --disable-gtk-doc --disable-valgrind \
    --disable-symbol-lookup
  deps_nice make -C src -j "$DEPS_JOBS" libcairo.la
  deps_nice make -C src install-libLTLIBRARIES install-nodist_cairoincludeHEADERS \
    install-cairoincludeHEADERS install-pkgconfigDATA
}

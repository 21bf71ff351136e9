SOURCE=pango1.0
build() {
  run_meson -Dintrospection=disabled -Dgtk_doc=false -Dinstall-tests=false -Dcairo=enabled \
    -Dfontconfig=enabled -Dfreetype=enabled -Dlibthai=disabled -Dxft=disabled -Dsysprof=disabled
}

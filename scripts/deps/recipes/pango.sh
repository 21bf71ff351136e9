SOURCE=pango1.0
build() {
  # The library alone: its utilities, examples and tests are never shipped.
  sed -i "/^subdir('\(utils\|examples\|tests\|tools\)')/d" meson.build
  run_meson -Dintrospection=disabled -Dgtk_doc=false -Dinstall-tests=false -Dcairo=enabled \
    -Dfontconfig=enabled -Dfreetype=enabled -Dlibthai=disabled -Dxft=disabled -Dsysprof=disabled
}

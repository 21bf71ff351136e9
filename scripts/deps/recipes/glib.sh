SOURCE=glib2.0
build() {
  # The libraries alone: the fuzzing drivers are never shipped.
  sed -i "/^subdir('\(fuzzing\)')/d" meson.build
  run_meson -Dtests=false -Dinstalled_tests=false -Dnls=disabled -Dman=false -Dgtk_doc=false \
    -Dlibmount=disabled -Dselinux=disabled -Dxattr=false -Dsysprof=disabled -Dglib_debug=disabled \
    -Dlibelf=disabled
}

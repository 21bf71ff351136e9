SOURCE=glib2.0
build() {
  run_meson -Dtests=false -Dinstalled_tests=false -Dnls=disabled -Dman=false -Dgtk_doc=false \
    -Dlibmount=disabled -Dselinux=disabled -Dxattr=false -Dsysprof=disabled -Dglib_debug=disabled \
    -Dlibelf=disabled
}

SOURCE=pixman
build() {
  run_meson -Dtests=disabled -Dgtk=disabled -Dlibpng=disabled -Dopenmp=disabled
}

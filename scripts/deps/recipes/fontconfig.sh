SOURCE=fontconfig
build() {
  run_meson -Ddoc=disabled -Dtests=disabled -Dtools=disabled -Dcache-build=disabled -Dnls=disabled
}

SOURCE=fribidi
build() {
  run_meson -Ddocs=false
}

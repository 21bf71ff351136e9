SOURCE=libjpeg-turbo
build() {
  # The SIMD parts need nasm; plain C draws the same pictures.
  run_cmake -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
}

SOURCE=libjpeg-turbo
build() {
  # The SIMD parts need nasm; plain C draws the same pictures. Its CMake takes a relative
  # library folder as relative to the build, hence the full path.
  run_cmake -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_INSTALL_LIBDIR="$DEPS_PREFIX/lib"
}

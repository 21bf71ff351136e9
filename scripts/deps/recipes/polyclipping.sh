SOURCE=libpolyclipping
build() {
  cd cpp
  run_cmake -DBUILD_SHARED_LIBS=OFF
}

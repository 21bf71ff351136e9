SOURCE=libffi
build() {
  run_configure --disable-docs --disable-multi-os-directory
  deps_nice make -j "$DEPS_JOBS"
  deps_nice make install
}

SOURCE=harfbuzz
build() {
  run_meson -Dfreetype=enabled -Dglib=disabled -Dgobject=disabled -Dcairo=disabled -Dicu=disabled \
    -Dgraphite2=disabled -Dtests=disabled -Ddocs=disabled -Dintrospection=disabled \
    -Dbenchmark=disabled
}

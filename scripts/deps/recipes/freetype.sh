SOURCE=freetype
build() {
  # HarfBuzz comes later and uses FreeType; FreeType needs nothing of it for outlines.
  run_meson -Dharfbuzz=disabled -Dbrotli=disabled -Dbzip2=disabled -Dpng=enabled -Dzlib=enabled
}

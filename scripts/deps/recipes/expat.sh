SOURCE=expat
build() {
  # Debian packages expat's repository layout: the library is in expat/. Debian's own patches
  # test XML_DTD's value, which expat's CMake configuration defines empty.
  cd expat
  sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' expat_config.h.cmake
  run_cmake -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
    -DEXPAT_BUILD_DOCS=OFF -DEXPAT_SHARED_LIBS=OFF
}

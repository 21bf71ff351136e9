SOURCE=zlib
build() {
  # Debian's source leaves out the Windows resource files that zlib's own build wants for its
  # DLL: the static library is all we need, from its sources directly.
  local c
  for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
    inftrees trees uncompr zutil; do
    deps_nice $CC $CFLAGS -c "$c.c" -o "$c.o"
  done
  $AR rcs "$DEPS_PREFIX/lib/libz.a" ./*.o
  cp zlib.h zconf.h "$DEPS_PREFIX/include/"
  mkdir -p "$DEPS_PREFIX/lib/pkgconfig"
  printf '%s\n' "prefix=$DEPS_PREFIX" 'libdir=${prefix}/lib' 'includedir=${prefix}/include' '' \
    'Name: zlib' 'Description: zlib compression library' "Version: $(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' zlib.h)" \
    'Libs: -L${libdir} -lz' 'Cflags: -I${includedir}' >"$DEPS_PREFIX/lib/pkgconfig/zlib.pc"
}

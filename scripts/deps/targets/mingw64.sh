# 64-bit Windows with Debian's mingw-w64 (posix threads, so that std::thread works).
# The text goes through HarfBuzz and fontconfig directly, as in the browser: GLib, its libffi and
# pcre2, and pango would more than double the time a fresh machine spends on these libraries, and
# that path draws the same pixels as pango on Linux.
DEPS_HOST=x86_64-w64-mingw32
DEPS_TOOLCHAIN="$here/../../cmake/mingw64.cmake"
DEPS_JOBS="${DEPS_JOBS:-2}"
DEPS_PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools meson gperf dpkg-dev)
DEPS_WITHOUT=(fribidi libffi pcre2 intl glib pango)

target_setup() {
  export DEPS_PREFIX="$1"
  export VELORINE_DEPS="$1"
  export CC="ccache $DEPS_HOST-gcc-posix" CXX="ccache $DEPS_HOST-g++-posix"
  export AR="$DEPS_HOST-gcc-ar-posix" RANLIB="$DEPS_HOST-gcc-ranlib-posix" NM="$DEPS_HOST-gcc-nm-posix"
  export STRIP="$DEPS_HOST-strip" WINDRES="$DEPS_HOST-windres" RC="$DEPS_HOST-windres"
  export CPPFLAGS="-I$1/include" LDFLAGS="-L$1/lib" CFLAGS="-O2 -I$1/include" CXXFLAGS="-O2 -I$1/include"
  export PKG_CONFIG="pkg-config --static"
  export PKG_CONFIG_LIBDIR="$1/lib/pkgconfig:$1/share/pkgconfig"
  unset PKG_CONFIG_PATH
  mkdir -p "$1/share"
  cat >"$1/share/cross.ini" <<INI
[binaries]
c = ['ccache', '$DEPS_HOST-gcc-posix']
cpp = ['ccache', '$DEPS_HOST-g++-posix']
ar = '$DEPS_HOST-gcc-ar-posix'
ranlib = '$DEPS_HOST-gcc-ranlib-posix'
strip = '$DEPS_HOST-strip'
windres = '$DEPS_HOST-windres'
pkgconfig = 'pkg-config'

[properties]
pkg_config_libdir = ['$1/lib/pkgconfig', '$1/share/pkgconfig']
needs_exe_wrapper = true

[built-in options]
c_args = ['-I$1/include']
cpp_args = ['-I$1/include']
c_link_args = ['-L$1/lib']
cpp_link_args = ['-L$1/lib']

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
INI
}

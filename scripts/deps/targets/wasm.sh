# WebAssembly with Debian's emscripten, single-threaded, static libraries only.
# GLib cannot reasonably run here (GObject needs a libffi with a wasm32 port, which Debian's 3.4.4
# lacks, and GLib assumes real threads), so neither can Pango: the text is laid out over HarfBuzz
# and FreeType directly, with fontconfig matching the shipped fonts as on Linux.
DEPS_HOST=wasm32-unknown-none
DEPS_TOOLCHAIN="$here/../../cmake/wasm.cmake"
DEPS_JOBS="${DEPS_JOBS:-2}"
DEPS_PACKAGES=(emscripten meson gperf dpkg-dev ccache)
DEPS_WITHOUT=(fribidi libffi pcre2 intl glib pango sdl2 sdl2-mixer)

target_setup() {
  export DEPS_PREFIX="$1"
  export VELORINE_DEPS="$1"
  # emcc's tools run on Debian's Python directly: a version manager's shim in PATH would cost
  # seconds on every compile of every configure check.
  export NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
  export CC=emcc CXX=em++
  export AR=emar RANLIB=emranlib NM=emnm STRIP=true
  # Every system header of a Unix is there; zlib, compiled without its configure, must be told.
  export CPPFLAGS="-I$1/include" LDFLAGS="-L$1/lib" CFLAGS="-O2 -DHAVE_UNISTD_H -I$1/include"
  export CXXFLAGS="-O2 -I$1/include"
  export PKG_CONFIG="pkg-config --static"
  # cairo's configure looks for a double's byte order in the object file it compiles, which it
  # cannot read in a wasm object: wasm32 is little-endian throughout.
  export ax_cv_c_float_words_bigendian=no
  export PKG_CONFIG_LIBDIR="$1/lib/pkgconfig:$1/share/pkgconfig"
  unset PKG_CONFIG_PATH
  mkdir -p "$1/share"
  cat >"$1/share/cross.ini" <<INI
[binaries]
c = 'emcc'
cpp = 'em++'
ar = 'emar'
ranlib = 'emranlib'
strip = 'true'
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
system = 'emscripten'
cpu_family = 'wasm32'
cpu = 'wasm32'
endian = 'little'
INI
}

# What the sources need for this target alone, applied in each library's unpacked tree before its
# build runs ($lib is the library being built). They live here rather than in the recipes, which
# the Windows build shares: a recipe's change would rebuild that target's libraries too.
wasm_fix_source() {
  case "$lib" in
  # emcc is clang, which meson names "emscripten": fontconfig knows only clang's preprocessor flags.
  fontconfig) sed -i "s/elif cc.get_id() == 'clang'/elif cc.get_id() in ['clang', 'emscripten']/" src/meson.build ;;
  esac
}
for tool in run_meson run_cmake run_configure; do
  eval "shared_$(declare -f "$tool")"
  eval "$tool() { wasm_fix_source; shared_$tool \"\$@\"; }"
done

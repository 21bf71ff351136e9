# WebAssembly with Debian's emscripten, single-threaded, static libraries only.
# GLib cannot reasonably run here (GObject needs a libffi with a wasm32 port, which Debian's 3.4.4
# lacks, and GLib assumes real threads), so neither can Pango: the text is laid out over HarfBuzz
# and FreeType directly, with fontconfig matching the shipped fonts as on Linux.
DEPS_HOST=wasm32-unknown-none
DEPS_TOOLCHAIN="$here/../../cmake/wasm.cmake"
DEPS_JOBS="${DEPS_JOBS:-2}"
DEPS_PACKAGES=(emscripten meson gperf dpkg-dev ccache)
DEPS_WITHOUT=(fribidi libffi pcre2 intl glib pango sdl2 sdl2-mixer)
# The code features the page needs, as cmake/wasm.cmake gives them to the module: SIMD (the
# compositing loops vectorise) and bulk memory (memset and memcpy become single instructions).
WASM_CODE_FLAGS="-msimd128 -mbulk-memory"

# 'a b' as meson's list 'a', 'b'.
wasm_meson_list() {
  local word list=""
  for word in $1; do list+="${list:+, }'$word'"; done
  echo "$list"
}

target_setup() {
  export DEPS_PREFIX="$1"
  export VELORINE_DEPS="$1"
  # emcc's tools run on Debian's Python directly: a version manager's shim in PATH would cost
  # seconds on every compile of every configure check.
  export NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
  # The libraries are built single-threaded, like the module that links them: meson's threads
  # dependency (and cairo's configure) would compile them with -pthread, for threads whose
  # thread-local data a module without shared memory does not set up. The compilers drop it.
  mkdir -p "$1/bin"
  local tool
  for tool in emcc em++; do
    cat >"$1/bin/$tool-single" <<SH
#!/bin/bash
args=()
for arg in "\$@"; do
  case \$arg in -pthread | -sPTHREAD_POOL_SIZE=* | -sUSE_PTHREADS=1) ;; *) args+=("\$arg") ;; esac
done
exec $tool "\${args[@]}"
SH
    chmod +x "$1/bin/$tool-single"
  done
  export CC="$1/bin/emcc-single" CXX="$1/bin/em++-single"
  export AR=emar RANLIB=emranlib NM=emnm STRIP=true
  # Every system header of a Unix is there; zlib, compiled without its configure, must be told.
  export CPPFLAGS="-I$1/include" LDFLAGS="-L$1/lib" CFLAGS="-O2 $WASM_CODE_FLAGS -DHAVE_UNISTD_H -I$1/include"
  export CXXFLAGS="-O2 $WASM_CODE_FLAGS -I$1/include"
  export PKG_CONFIG="pkg-config --static"
  # cairo's configure looks for a double's byte order in the object file it compiles, which it
  # cannot read in a wasm object: wasm32 is little-endian throughout.
  export ax_cv_c_float_words_bigendian=no
  export PKG_CONFIG_LIBDIR="$1/lib/pkgconfig:$1/share/pkgconfig"
  unset PKG_CONFIG_PATH
  mkdir -p "$1/share"
  cat >"$1/share/cross.ini" <<INI
[binaries]
c = '$1/bin/emcc-single'
cpp = '$1/bin/em++-single'
ar = 'emar'
ranlib = 'emranlib'
strip = 'true'
pkgconfig = 'pkg-config'

[properties]
pkg_config_libdir = ['$1/lib/pkgconfig', '$1/share/pkgconfig']
needs_exe_wrapper = true

[built-in options]
c_args = [$(wasm_meson_list "$WASM_CODE_FLAGS -I$1/include")]
cpp_args = [$(wasm_meson_list "$WASM_CODE_FLAGS -I$1/include")]
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
  # pixman clears its whole 24 KiB scanline buffer for every composite, even of a one-pixel span:
  # clearing the part it uses keeps its promise of no uninitialised reads at a fraction of the cost.
  # Its fast-path cache is thread-local, which this emscripten links only in code compiled with
  # atomics: in a single-threaded module a plain static is the same, pixman's PIXMAN_NO_TLS.
  pixman)
    sed -i 's/memset (stack_scanline_buffer, 0, sizeof (stack_scanline_buffer));/memset (stack_scanline_buffer, 0, width * Bpp * 3 + 15 * 3);/' pixman/pixman-general.c
    sed -i '1i #define PIXMAN_NO_TLS 1' pixman/pixman-compiler.h
    ;;
  # Every call in a function that calls setjmp goes through JavaScript here: the span renderer
  # stays out of the scan converter's, so that only the one call into it pays for that.
  cairo)
    cairo_spline_wrappers
    perl -0pi -e 's/^I void\nglitter_scan_converter_render\(/__attribute__((noinline)) I void\nglitter_scan_converter_render(/m' src/cairo-tor-scan-converter.c
    ;;
  esac
}

# cairo 1.16 hands its spline decomposer line-to functions of two parameters, which it calls with
# three: native calling conventions forgive that, WebAssembly's typed indirect calls trap. Each
# gets a wrapper of the right type.
cairo_spline_wrappers() {
  local pair file fn
  for pair in cairo-path-fill.c:_cairo_filler_line_to cairo-path-in-fill.c:_cairo_in_fill_line_to \
    cairo-path-stroke-traps.c:line_to_dashed cairo-path-stroke.c:_cairo_stroker_line_to_dashed \
    cairo-path-stroke.c:_cairo_stroker_line_to; do
    file="src/${pair%%:*}"
    fn="${pair#*:}"
    perl -0pi -e "s/\\(cairo_spline_add_point_func_t\\) ?$fn\\b/${fn}_spline/g" "$file"
    perl -0pi -e "s/^(#include [^\\n]*\\n)(?!.*^#include )/\$1\\nstatic cairo_status_t ${fn} (void *, const cairo_point_t *);\\nstatic cairo_status_t ${fn}_spline (void *closure, const cairo_point_t *point, const cairo_slope_t *tangent) { return ${fn} (closure, point); }\\n/ms" "$file"
  done
  perl -0pi -e 's/\(cairo_spline_add_point_func_t\)cpf->line_to,\s*cpf->closure,/_cpf_spline_point, cpf,/' src/cairo-path-fixed.c
  perl -0pi -e 's/^(static cairo_status_t\n_cpf_curve_to )/static cairo_status_t\n_cpf_spline_point (void *closure, const cairo_point_t *point, const cairo_slope_t *tangent)\n{\n    cpf_t *cpf = closure;\n    return cpf->line_to (cpf->closure, point);\n}\n\n$1/m' src/cairo-path-fixed.c
}
for tool in run_meson run_cmake run_configure; do
  eval "shared_$(declare -f "$tool")"
  eval "$tool() { wasm_fix_source; shared_$tool \"\$@\"; }"
done

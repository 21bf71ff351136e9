# Compiling for WebAssembly with Debian's emscripten (its JavaScript tools need
# NODE_PATH=/usr/share/nodejs). Libraries come from the prefix scripts/deps/build.sh wasm writes:
# pass it as VELORINE_DEPS (or in the environment).
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

if(NOT VELORINE_DEPS AND DEFINED ENV{VELORINE_DEPS})
  set(VELORINE_DEPS $ENV{VELORINE_DEPS})
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${VELORINE_DEPS})

# The libraries are static: pkg-config must name their own dependencies too, and only ours count.
if(VELORINE_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} "${VELORINE_DEPS}/lib/pkgconfig:${VELORINE_DEPS}/share/pkgconfig")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
  set(PKG_CONFIG_ARGN --static)
endif()

# check_type_size cannot read a size out of what emcc writes (it finds nonsense, such as 7 for
# size_t); wasm32's sizes are known. These are the checks the libraries' builds make.
set(HAVE_SIZE_T TRUE CACHE INTERNAL "")
set(SIZE_T 4 CACHE INTERNAL "")
set(HAVE_UNSIGNED_LONG TRUE CACHE INTERNAL "")
set(UNSIGNED_LONG 4 CACHE INTERNAL "")

# SIMD (the compositing loops vectorise) and bulk memory (memset and memcpy become single
# instructions): every browser of the last years runs both. The libraries get the same
# (WASM_CODE_FLAGS in scripts/deps/targets/wasm.sh).
string(APPEND CMAKE_C_FLAGS_INIT " -msimd128 -mbulk-memory")
string(APPEND CMAKE_CXX_FLAGS_INIT " -msimd128 -mbulk-memory")

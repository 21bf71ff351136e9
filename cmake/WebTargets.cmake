# What the browser build adds to the engine's targets. Exceptions are part of the engine's error
# handling, so every unit of ours and the link keep them: WebAssembly's own, which cost nothing until
# one is thrown (emulated ones route every call that may throw through JavaScript). Our code keeps
# its thread_local state, which this emscripten links only in code compiled without bulk memory.
set(KUV_WASM_OPTIONS -fwasm-exceptions -mno-bulk-memory)
foreach(target kuvgfx kuv kuvauthoring kuvcli kuvrender tvs-render kuvweb)
  target_compile_options(${target} PRIVATE ${KUV_WASM_OPTIONS})
endforeach()

# The libraries' pkg-config files ask for threads (meson's threads dependency does so for
# emscripten), but the browser build is single-threaded like the libraries (scripts/deps/targets/
# wasm.sh): its memory is not shared, which pages need no cross-origin isolation for.
foreach(library CAIRO TEXT CLIPPER PNG)
  foreach(property INTERFACE_COMPILE_OPTIONS INTERFACE_LINK_OPTIONS)
    get_target_property(options PkgConfig::${library} ${property})
    if(options)
      list(FILTER options EXCLUDE REGEX "^(-pthread|-sPTHREAD_POOL_SIZE=.*)$")
      set_target_properties(PkgConfig::${library} PROPERTIES ${property} "${options}")
    endif()
  endforeach()
endforeach()

# tvs-render for Node: the real file system (scenes, fonts, fontconfig's files) and the
# environment of the shell that runs it.
target_link_options(tvs-render PRIVATE -fwasm-exceptions -sNODERAWFS=1 -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1
  -sEXIT_RUNTIME=1 "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/cmake/wasm-node-env.js")
set_target_properties(tvs-render PROPERTIES SUFFIX .js)

# The page's module: the show for the canvas, driven by web/velorine.js. The production's scenes,
# textures and fonts are packed into its data file; the page fetches the soundtrack itself.
add_executable(velorine-web src/Web/main_web.cpp)
target_compile_options(velorine-web PRIVATE ${KUV_WARNINGS} ${KUV_WASM_OPTIONS})
target_link_libraries(velorine-web PRIVATE kuvweb)
set_target_properties(velorine-web PROPERTIES SUFFIX .js)
target_link_options(velorine-web PRIVATE -fwasm-exceptions -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=0
  -sMODULARIZE=1 -sEXPORT_NAME=VelorineModule "-sEXPORTED_RUNTIME_METHODS=[ENV,UTF8ToString,ccall]")
if(KUV_WEB_FILES)
  # The folder build-web.sh lays out: data/ and fonts/, mounted at the root of the module's files.
  target_link_options(velorine-web PRIVATE "SHELL:--preload-file ${KUV_WEB_FILES}@/")
  file(GLOB_RECURSE KUV_WEB_FILE_LIST CONFIGURE_DEPENDS "${KUV_WEB_FILES}/*")
  set_property(TARGET velorine-web APPEND PROPERTY LINK_DEPENDS ${KUV_WEB_FILE_LIST})
endif()

# What the browser build adds to the engine's targets. Exceptions are part of the engine's error
# handling, so every unit of ours and the link keep them.
foreach(target kuvgfx kuv kuvauthoring kuvrender tvs-render)
  target_compile_options(${target} PRIVATE -fexceptions)
endforeach()

# tvs-render for Node: the real file system (scenes, fonts, fontconfig's files) and the
# environment of the shell that runs it.
target_link_options(tvs-render PRIVATE -fexceptions -sNODERAWFS=1 -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1
  -sEXIT_RUNTIME=1 "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/cmake/wasm-node-env.js")
set_target_properties(tvs-render PROPERTIES SUFFIX .js)

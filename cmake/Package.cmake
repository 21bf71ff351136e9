# Install rules and the Debian package of the player, its tools and the production, laid out as
# Debian's policy wants. scripts/package.sh configures with -DKUV_PACKAGE=ON, which also makes the
# files drawn or written by our programs at build time (manual pages, icons) and sets up CPack.
option(KUV_PACKAGE "Build the manual pages and icons and set up the Debian package (scripts/package.sh)" OFF)

include(GNUInstallDirs)

set(KUV_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(KUV_PACKAGE_OUT ${CMAKE_BINARY_DIR}/package)
set(KUV_DEBIAN_REVISION 1)
set(KUV_PACKAGE_VERSION ${PROJECT_VERSION}-${KUV_DEBIAN_REVISION})
set(KUV_PACKAGE_MAINTAINER "Velorine developers <maintainers@users.noreply.c-seed-a95251a5.example>")
set(KUV_INSTALLED_PRODUCTION ${CMAKE_INSTALL_FULL_DATADIR}/velorine)
set(KUV_INSTALLED_PLAYER ${CMAKE_INSTALL_FULL_LIBEXECDIR}/velorine/velorine)
set(KUV_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/velorine)

# The tools that take options; another engineer's SVG importer joins them once it is built here.
set(KUV_INSTALLED_TOOLS tvs-render tvs-check tvs-preview)
if(TARGET tvs-import-svg)
  list(APPEND KUV_INSTALLED_TOOLS tvs-import-svg)
endif()
install(TARGETS ${KUV_INSTALLED_TOOLS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The player reads data\... relative to its working directory, so the command users call is a
# launcher that enters the installed production first; a clone's build/velorine is untouched.
install(TARGETS velorine RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/velorine)
configure_file(${KUV_PACKAGING_DIR}/velorine.in ${KUV_PACKAGE_OUT}/velorine @ONLY)
install(PROGRAMS ${KUV_PACKAGE_OUT}/velorine DESTINATION ${CMAKE_INSTALL_BINDIR})

# The production as the player reads it; the score is the soundtrack's source, not played.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data DESTINATION ${CMAKE_INSTALL_DATADIR}/velorine
  PATTERN "*.score" EXCLUDE)

install(FILES ${KUV_PACKAGING_DIR}/velorine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KUV_PACKAGING_DIR}/copyright DESTINATION ${KUV_DOC_DIR})

if(NOT KUV_PACKAGE)
  return()
endif()

find_program(KUV_HELP2MAN help2man REQUIRED)
find_program(KUV_GZIP gzip REQUIRED)
find_program(KUV_CONVERT convert REQUIRED)

# Compresses FILE into FILE.gz the way Debian wants it: best ratio, no name or time stamp inside.
function(kuv_gzip_command file)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${KUV_GZIP} -9nkf ${file}
    DEPENDS ${file} VERBATIM)
endfunction()

# One manual page per tool, made from its own --help so that the two never drift apart; help2man
# runs each tool through a wrapper that shapes the help the way help2man reads it.
set(KUV_PACKAGE_FILES)
set(KUV_TOOL_SUMMARY_tvs-render "render frames, variables and videos of a KUV scene offline")
set(KUV_TOOL_SUMMARY_tvs-check "report the silent mistakes of KUV scenes and their timeline")
set(KUV_TOOL_SUMMARY_tvs-preview "play a KUV scene in a window, reloading it whenever it is saved")
set(KUV_TOOL_SUMMARY_tvs-import-svg "turn an SVG drawing into KUV scene records")
foreach(tool IN LISTS KUV_INSTALLED_TOOLS)
  set(page ${KUV_PACKAGE_OUT}/man/${tool}.1)
  set(help ${KUV_PACKAGE_OUT}/help/${tool})
  file(GENERATE OUTPUT ${help}
    CONTENT "#!/bin/sh\nexec ${KUV_PACKAGING_DIR}/help-for-man.sh $<TARGET_FILE:${tool}> \"$@\"\n"
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KUV_PACKAGE_OUT}/man
    COMMAND ${KUV_HELP2MAN} --no-info --version-string=${PROJECT_VERSION} --name=${KUV_TOOL_SUMMARY_${tool}}
      --section=1 --source=Velorine --include=${KUV_PACKAGING_DIR}/see-also.h2m --output=${page} ${help}
    DEPENDS ${tool} ${KUV_PACKAGING_DIR}/help-for-man.sh ${KUV_PACKAGING_DIR}/see-also.h2m VERBATIM)
  kuv_gzip_command(${page})
  list(APPEND KUV_PACKAGE_FILES ${page}.gz)
endforeach()
# The player takes no options (it ignores its command line): its page is written by hand.
configure_file(${KUV_PACKAGING_DIR}/velorine.1.in ${KUV_PACKAGE_OUT}/man/velorine.1 @ONLY)
kuv_gzip_command(${KUV_PACKAGE_OUT}/man/velorine.1)
list(APPEND KUV_PACKAGE_FILES ${KUV_PACKAGE_OUT}/man/velorine.1.gz)
install(DIRECTORY ${KUV_PACKAGE_OUT}/man/ DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 FILES_MATCHING PATTERN "*.1.gz")

# The icon: the title's gilt letter drawn by tvs-render at each size (the scene is drawn at 256
# and scaled, its ring kept about a pixel wide), its corners then rounded off into transparency.
foreach(pair 48:0.1875 128:0.5 256:1)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 size)
  list(GET pair 1 ICON_SCALE)
  math(EXPR ICON_RING "2 * 256 / ${size}")
  configure_file(${KUV_PACKAGING_DIR}/icon.tvs.in ${KUV_PACKAGE_OUT}/icon-${size}.tvs @ONLY)
  set(icon ${KUV_PACKAGE_OUT}/icons/${size}x${size}/velorine.png)
  math(EXPR radius "${size} * 22 / 100")
  math(EXPR last "${size} - 1")
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KUV_PACKAGE_OUT}/icons/${size}x${size}/frame
    COMMAND $<TARGET_FILE:tvs-render> ${KUV_PACKAGE_OUT}/icon-${size}.tvs --size ${size}x${size} --at 0
      --out ${KUV_PACKAGE_OUT}/icons/${size}x${size}/frame
    COMMAND ${KUV_CONVERT} ${KUV_PACKAGE_OUT}/icons/${size}x${size}/frame/0.png
      ( -size ${size}x${size} xc:black -fill white -draw "roundrectangle 0,0,${last},${last},${radius},${radius}" )
      -alpha off -compose CopyOpacity -composite -strip -define png:exclude-chunks=date,time PNG32:${icon}
    DEPENDS tvs-render ${KUV_PACKAGE_OUT}/icon-${size}.tvs VERBATIM)
  list(APPEND KUV_PACKAGE_FILES ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

configure_file(${KUV_PACKAGING_DIR}/changelog.Debian.in ${KUV_PACKAGE_OUT}/changelog.Debian @ONLY)
kuv_gzip_command(${KUV_PACKAGE_OUT}/changelog.Debian)
# The README describes every tool, its options and exit codes in full; the manual pages point to it.
configure_file(${PROJECT_SOURCE_DIR}/README.md ${KUV_PACKAGE_OUT}/README.md COPYONLY)
kuv_gzip_command(${KUV_PACKAGE_OUT}/README.md)
list(APPEND KUV_PACKAGE_FILES ${KUV_PACKAGE_OUT}/changelog.Debian.gz ${KUV_PACKAGE_OUT}/README.md.gz)
install(FILES ${KUV_PACKAGE_OUT}/changelog.Debian.gz ${KUV_PACKAGE_OUT}/README.md.gz DESTINATION ${KUV_DOC_DIR})

add_custom_target(package-files ALL DEPENDS ${KUV_PACKAGE_FILES})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velorine)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "${KUV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KUV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KUV_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The libraries come from dpkg-shlibdeps; the fonts are the ones the scenes' Arial and Times New
# Roman resolve to through fontconfig's metric aliases, which the production's layout is made for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual production and its KUV scene tools")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${KUV_PACKAGING_DIR}/description.txt)
include(CPack)

# Installation (cmake --install) and the Debian package (cpack -G DEB). The installed tree is
# the build tree's layout (cmake/Layout.cmake): the programs in bin/, the ASPI providers in
# <libdir>/rsf-extractor/, the user guide in <datadir>/rsf-extractor/, so both programs find
# them relative to their own folder wherever the tree lands. On Linux the desktop's files come
# with them: the desktop entry, the icon (SVG, and 48 and 256 pixel PNGs rendered from it at
# build time), the AppStream data, the manual pages and the package's documentation. Windows
# builds install one folder instead, and make the zip and the installer of it
# (cmake/WindowsPackage.cmake).
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackage.cmake)
  return()
endif()

install(TARGETS rsfx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET rsf-extractor)
  install(TARGETS rsf-extractor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/rsfextract.html DESTINATION ${RSF_INSTALL_DATA_FOLDER})
endif()
foreach(provider IN ITEMS aspi_image aspi_sg)
  if(TARGET ${provider})
    install(TARGETS ${provider} LIBRARY DESTINATION ${RSF_INSTALL_LIBRARY_FOLDER} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(NOT UNIX OR APPLE)
  return()
endif()

set(RSF_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(RSF_GENERATED ${CMAKE_BINARY_DIR}/packaging)

# Compressed as Debian wants them (gzip -9n: no name, no time stamp, so the result is stable).
function(rsf_gzipped source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RSF_GENERATED}
    COMMAND gzip -9nc ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()
rsf_gzipped(${PROJECT_SOURCE_DIR}/docs/rsfx.1 ${RSF_GENERATED}/rsfx.1.gz)
rsf_gzipped(${PROJECT_SOURCE_DIR}/docs/rsf-extractor.1 ${RSF_GENERATED}/rsf-extractor.1.gz)
rsf_gzipped(${RSF_PACKAGING}/changelog ${RSF_GENERATED}/changelog.gz)
set(RSF_GENERATED_FILES ${RSF_GENERATED}/rsfx.1.gz ${RSF_GENERATED}/rsf-extractor.1.gz ${RSF_GENERATED}/changelog.gz)

install(FILES ${RSF_GENERATED}/rsfx.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${RSF_PACKAGING}/copyright ${RSF_GENERATED}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/rsf-extractor)

if(TARGET rsf-extractor)
  install(FILES ${RSF_GENERATED}/rsf-extractor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${RSF_PACKAGING}/rsf-extractor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${RSF_PACKAGING}/io.github.rsf_extractor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${RSF_PACKAGING}/rsf-extractor.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  find_program(RSF_RSVG_CONVERT rsvg-convert)
  if(RSF_RSVG_CONVERT)
    foreach(size IN ITEMS 48 256)
      set(png ${RSF_GENERATED}/rsf-extractor-${size}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${RSF_GENERATED}
        COMMAND ${RSF_RSVG_CONVERT} -w ${size} -h ${size} ${RSF_PACKAGING}/rsf-extractor.svg -o ${png}
        DEPENDS ${RSF_PACKAGING}/rsf-extractor.svg
        VERBATIM)
      list(APPEND RSF_GENERATED_FILES ${png})
      install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME rsf-extractor.png)
    endforeach()
  else()
    message(STATUS "rsvg-convert not found: the icon is installed as SVG only")
  endif()
endif()
add_custom_target(rsf_packaging_files ALL DEPENDS ${RSF_GENERATED_FILES})

# The Debian package: rsf-extractor_<version>_<arch>.deb, its library dependencies found by
# dpkg-shlibdeps, the media plugins the built-in player needs and the Chinese font named.
find_program(RSF_DPKG dpkg)
if(RSF_DPKG)
  execute_process(COMMAND ${RSF_DPKG} --print-architecture OUTPUT_VARIABLE RSF_DEB_ARCHITECTURE
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(CPACK_PACKAGE_NAME rsf-extractor)
set(CPACK_PACKAGE_VERSION ${RSF_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "The RSF-Extractor developers")
set(CPACK_PACKAGE_CONTACT "The RSF-Extractor developers <rsf-extractor@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find media clips inside game archives and disc images")
set(CPACK_PACKAGE_DESCRIPTION
    "RSF-Extractor finds the sound, video and pictures stored inside larger\n\
files, such as game archives, disc images or whole CDs, lists them with\n\
their type, size and header information, and copies the wanted ones out\n\
as files of their own, or plays one at once. It comes as a desktop\n\
program (rsf-extractor) and a command line (rsfx).")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${RSF_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/rsf-extractor")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-arphic-uming, gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly, gstreamer1.0-libav, libc-l10n, locales, qt6-translations-l10n, xdg-utils")
include(CPack)

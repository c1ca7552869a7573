# The Windows programs as users get them. `cmake --install` puts rsf-extractor.exe, rsfx.exe, the
# ASPI provider wnaspi32.dll, the user guide, the README and the copyright into one folder: the
# programs find the provider and the guide beside them. The target windows_package installs that
# folder stripped into <build>/package/RSF-Extractor and makes of it
#   RSF-Extractor-<version>-<arch>.zip         the folder as it stands (a portable program), and
#   RSF-Extractor-<version>-<arch>-setup.exe   the installer (makensis, packaging/windows/rsf-extractor.nsi).
install(TARGETS rsfx RUNTIME DESTINATION .)
install(TARGETS aspi_image RUNTIME DESTINATION . ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)
if(TARGET rsf-extractor)
  install(TARGETS rsf-extractor RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/rsfextract.html DESTINATION .)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION . RENAME COPYRIGHT.txt)

if(NOT TARGET rsf-extractor)
  return()
endif()

# "1.3-beta1", and the architecture as Windows names it.
set(RSF_WINDOWS_VERSION "${PROJECT_VERSION}-${RSF_PRERELEASE_TAG}")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(RSF_WINDOWS_ARCHITECTURE x64)
  set(RSF_NSIS_64BIT -DPROGRAMS_64BIT)
else()
  set(RSF_WINDOWS_ARCHITECTURE x86)
  set(RSF_NSIS_64BIT)
endif()
set(RSF_WINDOWS_PACKAGE_NAME RSF-Extractor-${RSF_WINDOWS_VERSION}-${RSF_WINDOWS_ARCHITECTURE})

find_program(RSF_ZIP zip)
find_program(RSF_MAKENSIS makensis)
if(NOT RSF_ZIP OR NOT RSF_MAKENSIS)
  message(STATUS "zip or makensis not found: no windows_package target (Debian packages zip, nsis)")
  return()
endif()

set(RSF_PACKAGE_FOLDER ${CMAKE_BINARY_DIR}/package)
set(RSF_PACKAGE_STAGE ${RSF_PACKAGE_FOLDER}/RSF-Extractor)
set(RSF_NSIS_SCRIPT ${PROJECT_SOURCE_DIR}/packaging/windows/rsf-extractor.nsi)
file(MAKE_DIRECTORY ${RSF_PACKAGE_FOLDER})
add_custom_target(windows_package
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${RSF_PACKAGE_STAGE} ${RSF_PACKAGE_FOLDER}/${RSF_WINDOWS_PACKAGE_NAME}.zip
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${RSF_PACKAGE_STAGE} --strip
  COMMAND ${RSF_ZIP} -q -r -X ${RSF_WINDOWS_PACKAGE_NAME}.zip RSF-Extractor
  COMMAND ${RSF_MAKENSIS} -V2 -INPUTCHARSET UTF8 ${RSF_NSIS_64BIT}
          "-DVERSION=${RSF_WINDOWS_VERSION}" "-DVERSION_TEXT=${RSF_VERSION_TEXT}"
          "-DSTAGE=${RSF_PACKAGE_STAGE}" "-DOUTFILE=${RSF_PACKAGE_FOLDER}/${RSF_WINDOWS_PACKAGE_NAME}-setup.exe"
          ${RSF_NSIS_SCRIPT}
  DEPENDS rsfx rsf-extractor aspi_image ${RSF_NSIS_SCRIPT}
  WORKING_DIRECTORY ${RSF_PACKAGE_FOLDER}
  COMMENT "Packing ${RSF_WINDOWS_PACKAGE_NAME}.zip and ${RSF_WINDOWS_PACKAGE_NAME}-setup.exe"
  VERBATIM)

# Where the programs, their libraries and their data go, in the build tree as when installed:
# the build keeps the installed layout (bin/, <libdir>/rsf-extractor/, <datadir>/rsf-extractor/;
# on Windows one folder for all) so that a program finds its ASPI providers and its user guide
# the same way in both places.
include(GNUInstallDirs)

set(RSF_BUILD_BINDIR ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_BINDIR})
if(WIN32)
  # Windows keeps a program's libraries and data in the program's own folder.
  set(RSF_BUILD_LIBRARY_FOLDER ${RSF_BUILD_BINDIR})
  set(RSF_BUILD_DATA_FOLDER ${RSF_BUILD_BINDIR})
else()
  set(RSF_BUILD_LIBRARY_FOLDER ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_LIBDIR}/rsf-extractor)
  set(RSF_BUILD_DATA_FOLDER ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_DATADIR}/rsf-extractor)
endif()
set(RSF_INSTALL_LIBRARY_FOLDER ${CMAKE_INSTALL_LIBDIR}/rsf-extractor)
set(RSF_INSTALL_DATA_FOLDER ${CMAKE_INSTALL_DATADIR}/rsf-extractor)

# The two folders as seen from the programs' folder, for the programs to find them.
file(RELATIVE_PATH RSF_LIBRARY_FOLDER_FROM_PROGRAM ${RSF_BUILD_BINDIR} ${RSF_BUILD_LIBRARY_FOLDER})
file(RELATIVE_PATH RSF_DATA_FOLDER_FROM_PROGRAM ${RSF_BUILD_BINDIR} ${RSF_BUILD_DATA_FOLDER})

# The programs users start live in bin/.
function(rsf_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${RSF_BUILD_BINDIR})
endfunction()

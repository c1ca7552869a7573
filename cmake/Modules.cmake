# One library target per module, each listing its sources. A module's headers are reachable as
# "<module>/<header>.h" only through an include root that holds that module's folder alone, and
# a target gets the root of a module only by linking it: an include of a module the table in
# ARCHITECTURE.md does not allow fails to compile.
function(rsf_module target folder)
  cmake_parse_arguments(M "INTERFACE" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/module-include/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  if(M_INTERFACE)
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${root})
    target_link_libraries(${target} INTERFACE ${M_PUBLIC})
    return()
  endif()
  list(TRANSFORM M_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/${folder}/)
  # A module without SOURCES gets them from its folders' own target_sources.
  add_library(${target} STATIC ${M_SOURCES})
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${M_PUBLIC} rsf_sanitizers PRIVATE ${M_PRIVATE} rsf_warnings)
endfunction()

# The platform's own implementation file of a platform-layer piece.
if(WIN32)
  set(RSF_PLATFORM_SUFFIX win32)
else()
  set(RSF_PLATFORM_SUFFIX posix)
endif()

# Third-party libraries for the MinGW-w64 cross build. Debian ships no Windows builds of them,
# so the header-only ones are taken from the host's packages (their folders copied into the
# build tree, so the host's /usr/include never joins the include path), fmt is used
# header-only, and GoogleTest is compiled from Debian's source package with the cross compiler.
set(RSF_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)

# Copies /usr/include/<folder> into the build tree and makes an INTERFACE target `name` that
# puts the copy on the include path.
function(rsf_host_header_library name folder)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: install the Debian package that provides ${name}")
  endif()
  file(COPY /usr/include/${folder} DESTINATION ${RSF_HOST_HEADERS})
  string(REPLACE "::" "_" target ${name})
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${RSF_HOST_HEADERS})
  add_library(${name} ALIAS ${target})
endfunction()

rsf_host_header_library(fmt::fmt fmt)
target_compile_definitions(fmt_fmt INTERFACE FMT_HEADER_ONLY=1)
rsf_host_header_library(CLI11::CLI11 CLI)
rsf_host_header_library(nlohmann_json::nlohmann_json nlohmann)

find_package(Threads REQUIRED)

# libjpeg has no MinGW build in Debian: without one in the sysroot, the JPEG synthesizer is
# left out and the demo source and tests do without synthesized JPEG images.
find_package(JPEG QUIET)
set(RSF_HAVE_JPEG ${JPEG_FOUND})
message(STATUS "JPEG synthesizer: ${RSF_HAVE_JPEG}")

# The portable matcher does the signature search on Windows.
set(RSF_HAVE_HYPERSCAN OFF)
message(STATUS "Hyperscan signature search: ${RSF_HAVE_HYPERSCAN}")

if(BUILD_TESTING)
  set(RSF_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  if(NOT EXISTS ${RSF_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "${RSF_GOOGLETEST_SOURCE} holds no GoogleTest sources: install Debian's googletest")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${RSF_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest names its targets GTest::gtest, GTest::gmock, ... itself.
  foreach(library gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${library})
      message(FATAL_ERROR "GoogleTest from ${RSF_GOOGLETEST_SOURCE} made no target GTest::${library}")
    endif()
  endforeach()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/I686Checks.cmake)

# The desktop program needs a Qt 6 built for Windows (Debian has none); point
# CMAKE_PREFIX_PATH at one to build it.
if(BUILD_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Widgets Multimedia MultimediaWidgets Test)
endif()

# Third-party libraries from Debian's packages.
if(CMAKE_CROSSCOMPILING AND WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsDependencies.cmake)
  return()
endif()

find_package(fmt REQUIRED)
find_package(CLI11 CONFIG REQUIRED)
find_package(nlohmann_json REQUIRED)
find_package(JPEG REQUIRED)
set(RSF_HAVE_JPEG ON)
find_package(Threads REQUIRED)

# Hyperscan finds every signature of a window in one pass; without it the
# project's own portable matcher gives the same results.
set(RSF_HAVE_HYPERSCAN OFF)
if(RSF_USE_HYPERSCAN)
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(HYPERSCAN QUIET IMPORTED_TARGET libhs)
    if(HYPERSCAN_FOUND)
      set(RSF_HAVE_HYPERSCAN ON)
    endif()
  endif()
endif()
message(STATUS "Hyperscan signature search: ${RSF_HAVE_HYPERSCAN}")

if(BUILD_TESTING)
  find_package(GTest REQUIRED)
endif()
if(BUILD_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Widgets Multimedia MultimediaWidgets Test)
endif()

# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the windows preset).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RSF_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

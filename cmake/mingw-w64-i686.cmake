# Cross-compiles for 32-bit Windows with Debian's MinGW-w64 (the windows-i686 preset).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(RSF_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# For processors with SSE2, as every x86 processor since 2003 (Windows 8 and later require it):
# the scan's byte vectors live in SSE registers, as in the 64-bit build, rather than being
# emulated in a calling convention of their own, and floating point computes as there too.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

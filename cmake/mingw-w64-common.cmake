# What both MinGW-w64 toolchain files share, for the target named by RSF_MINGW_TRIPLET (such as
# x86_64-w64-mingw32): Debian's cross compilers of the POSIX thread model, libraries and headers
# from that target's sysroot only, and static C and C++ runtimes and winpthread, so that the
# programs run on a bare Windows (or Wine) without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${RSF_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RSF_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${RSF_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW sysroot only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${RSF_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

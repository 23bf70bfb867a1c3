# Cross-compiling Qt itself for 64-bit Windows with Debian's MinGW-w64 (posix threads, as the
# program's own build uses). Kept apart from toolchain.cmake, whose static linking and find
# modules are for Slabwright's programs, not for Qt's DLLs. Used by scripts/build-qt-windows.
# (Not named qt.toolchain.cmake or anything its pattern matches: Qt refuses a toolchain file
# of that name, taking it for the one it writes itself.)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and std::mutex need). Used by scripts/build-windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
if(SLAB_QT_WINDOWS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${SLAB_QT_WINDOWS})
  list(APPEND CMAKE_PREFIX_PATH ${SLAB_QT_WINDOWS})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SLAB_QT_WINDOWS)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The header-only libraries come from the host, through packages that name their headers
# alone (never all of /usr/include), and PNG pictures from a zlib-only writer: Debian has no
# libpng for MinGW.
set(CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR})
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR})
# zlib goes into the programs; whether MinGW's runtime does too is each program's choice (the
# top-level CMakeLists.txt): the desktop program shares Qt's runtime DLLs.
set(ZLIB_USE_STATIC_LIBS ON)

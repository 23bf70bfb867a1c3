# Cross-compiling Slabwright's programs for 64-bit Windows: the compilers and search rules
# Qt was built with, plus the Qt built by scripts/build-qt-windows and our own find modules.
# Used by scripts/build-windows.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-qt.cmake)
if(SLAB_QT_WINDOWS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${SLAB_QT_WINDOWS})
  list(APPEND CMAKE_PREFIX_PATH ${SLAB_QT_WINDOWS})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SLAB_QT_WINDOWS)
# The header-only libraries come from the host, through packages that name their headers
# alone (never all of /usr/include), and PNG pictures from a zlib-only writer: Debian has no
# libpng for MinGW.
set(CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR})
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR})
# zlib goes into the programs; whether MinGW's runtime does too is each program's choice (the
# top-level CMakeLists.txt): the desktop program shares Qt's runtime DLLs.
set(ZLIB_USE_STATIC_LIBS ON)

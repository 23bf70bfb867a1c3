# PNG::PNG for the cross build: the zlib-only writer in png/, which gives the part of libpng's
# simplified interface the project uses (8-bit RGB and RGBA written to a file).
find_package(ZLIB REQUIRED)
if(NOT TARGET PNG::PNG)
  add_library(slab_png_zlib STATIC ${CMAKE_CURRENT_LIST_DIR}/png/png_zlib.cpp)
  target_include_directories(slab_png_zlib PUBLIC ${CMAKE_CURRENT_LIST_DIR}/png)
  target_link_libraries(slab_png_zlib PUBLIC ZLIB::ZLIB)
  add_library(PNG::PNG ALIAS slab_png_zlib)
endif()
set(PNG_FOUND TRUE)

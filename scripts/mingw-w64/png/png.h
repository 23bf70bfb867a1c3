/* The part of libpng's simplified interface the project uses, written over zlib alone, for
   the Windows cross build (Debian packages no libpng for MinGW). Writes 8-bit RGB and RGBA. */
#ifndef SLAB_PNG_ZLIB_H
#define SLAB_PNG_ZLIB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t png_uint_32;
typedef int32_t png_int_32;

#define PNG_IMAGE_VERSION 1
#define PNG_FORMAT_RGB 1u
#define PNG_FORMAT_RGBA 3u

typedef struct {
  void* opaque;
  png_uint_32 version;
  png_uint_32 width;
  png_uint_32 height;
  png_uint_32 format;
  png_uint_32 flags;
  png_uint_32 colormap_entries;
  png_uint_32 warning_or_error;
  char message[64];
} png_image;

/* Returns non-zero on success; on failure zero, with the reason in image->message. A row_stride
   of 0 means rows packed without padding; a negative one is refused. */
int png_image_write_to_file(png_image* image, const char* file, int convert_to_8bit,
                            const void* buffer, png_int_32 row_stride, const void* colormap);

void png_image_free(png_image* image);

#ifdef __cplusplus
}
#endif

#endif

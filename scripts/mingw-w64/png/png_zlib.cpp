#include "png.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void PutWord(unsigned char* out, uint32_t value) {
  out[0] = static_cast<unsigned char>(value >> 24);
  out[1] = static_cast<unsigned char>(value >> 16);
  out[2] = static_cast<unsigned char>(value >> 8);
  out[3] = static_cast<unsigned char>(value);
}

/* One chunk: length, type, data, and the CRC over type and data. */
int PutChunk(FILE* out, const char* type, const unsigned char* data, uint32_t length) {
  unsigned char word[4];
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
  if (length > 0) crc = crc32(crc, data, length);
  PutWord(word, length);
  if (fwrite(word, 1, 4, out) != 4 || fwrite(type, 1, 4, out) != 4) return 0;
  if (length > 0 && fwrite(data, 1, length, out) != length) return 0;
  PutWord(word, static_cast<uint32_t>(crc));
  return fwrite(word, 1, 4, out) == 4;
}

int Fail(png_image* image, const char* reason) {
  snprintf(image->message, sizeof image->message, "%s", reason);
  image->warning_or_error = 2;
  return 0;
}

}  // namespace

int png_image_write_to_file(png_image* image, const char* file, int convert_to_8bit,
                            const void* buffer, png_int_32 row_stride, const void* colormap) {
  static const unsigned char kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  static_cast<void>(convert_to_8bit);
  if (image == nullptr || image->version != PNG_IMAGE_VERSION || buffer == nullptr || colormap != nullptr)
    return image ? Fail(image, "unsupported call") : 0;
  if (image->format != PNG_FORMAT_RGB && image->format != PNG_FORMAT_RGBA)
    return Fail(image, "unsupported format");
  const size_t channels = image->format == PNG_FORMAT_RGBA ? 4 : 3;
  if (image->width == 0 || image->height == 0 || image->width > 0x7FFFFFFFu / channels ||
      image->height > 0x7FFFFFFFu)
    return Fail(image, "bad size");
  const size_t row = image->width * channels;
  if (row_stride < 0 || (row_stride != 0 && static_cast<size_t>(row_stride) < row))
    return Fail(image, "bad row stride");
  const size_t stride = row_stride ? static_cast<size_t>(row_stride) : row;
  if ((row + 1) > SIZE_MAX / image->height) return Fail(image, "too large");

  /* Each row behind a filter byte of 0 (none), then compressed whole. */
  const size_t rawSize = (row + 1) * image->height;
  unsigned char* raw = static_cast<unsigned char*>(malloc(rawSize));
  uLongf packedSize = compressBound(static_cast<uLong>(rawSize));
  unsigned char* packed = static_cast<unsigned char*>(malloc(packedSize));
  if (raw == nullptr || packed == nullptr) {
    free(raw);
    free(packed);
    return Fail(image, "out of memory");
  }
  for (png_uint_32 y = 0; y < image->height; ++y) {
    raw[y * (row + 1)] = 0;
    memcpy(raw + y * (row + 1) + 1, static_cast<const unsigned char*>(buffer) + y * stride, row);
  }
  int ok = compress2(packed, &packedSize, raw, static_cast<uLong>(rawSize), Z_BEST_COMPRESSION) == Z_OK;
  free(raw);
  if (!ok) {
    free(packed);
    return Fail(image, "compression failed");
  }

  unsigned char header[13];
  PutWord(header, image->width);
  PutWord(header + 4, image->height);
  header[8] = 8;                                          /* bits per sample */
  header[9] = image->format == PNG_FORMAT_RGBA ? 6 : 2; /* colour type */
  header[10] = header[11] = header[12] = 0;
  FILE* out = fopen(file, "wb");
  if (out == nullptr) {
    free(packed);
    return Fail(image, "cannot open the file");
  }
  ok = fwrite(kSignature, 1, 8, out) == 8 && PutChunk(out, "IHDR", header, 13) &&
       PutChunk(out, "IDAT", packed, static_cast<uint32_t>(packedSize)) && PutChunk(out, "IEND", nullptr, 0);
  free(packed);
  if (fclose(out) != 0) ok = 0;
  if (!ok) {
    remove(file);
    return Fail(image, "cannot write the file");
  }
  return 1;
}

void png_image_free(png_image* image) { static_cast<void>(image); }

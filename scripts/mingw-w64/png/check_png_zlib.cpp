// Writes a 3 x 2 RGB picture whose rows are padded (stride 15), and checks that a picture of
// no rows is refused; check_png_zlib.py then reads the file back.
#include <cstdio>

#include "png.h"

int main(int argc, char** argv) {
  if (argc != 2) return 1;
  unsigned char pixels[30];
  for (int i = 0; i < 30; ++i) pixels[i] = static_cast<unsigned char>(i * 7);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 3;
  image.height = 2;
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, argv[1], 0, pixels, 15, nullptr)) {
    std::fprintf(stderr, "%s\n", image.message);
    return 1;
  }
  png_image empty = image;
  empty.height = 0;
  return png_image_write_to_file(&empty, "/dev/null", 0, pixels, 15, nullptr) ? 1 : 0;
}

#include "map/write_png.h"

#include <png.h>

#include <cstring>

namespace slab {

bool WritePng(const MapImage& image, const std::filesystem::path& path, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.Width());
  png.height = static_cast<png_uint_32>(image.Height());
  png.format = PNG_FORMAT_RGB;
  if (png_image_write_to_file(&png, path.string().c_str(), 0, image.Bytes().data(),
                              image.Width() * 3, nullptr) == 0) {
    error = path.string() + ": cannot write the picture (" + png.message + ")";
    png_image_free(&png);
    return false;
  }
  return true;
}

}  // namespace slab

// Saving a map picture as a PNG file.
#pragma once

#include <filesystem>
#include <string>

#include "map/map_image.h"

namespace slab {

// Writes the picture as an 8-bit RGB PNG. On failure returns false and sets error to a
// message naming the file.
bool WritePng(const MapImage& image, const std::filesystem::path& path, std::string& error);

}  // namespace slab

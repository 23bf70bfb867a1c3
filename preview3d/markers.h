// The marker pictures of the main window's 3D view, read from the program's folder.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "level/messages.h"
#include "preview3d/texels.h"

namespace slab {

enum class Marker { Light, Camera, FixedCamera, Sink };
inline constexpr std::array<const char*, 4> kMarkerFiles{"Light.bmp", "Camera.bmp",
                                                         "FixedCamera.bmp", "Sink.bmp"};

struct MarkerPicture {
  int Width = 0;
  int Height = 0;
  std::vector<Rgba> Texels;  // black is transparent
  bool Loaded() const { return Width > 0; }
};

// Reads the four pictures. A missing or unreadable one is named in a message
// ("Can't find texture file " and its path) and stays empty, so that marker is not drawn.
std::array<MarkerPicture, 4> LoadMarkerPictures(const std::filesystem::path& folder,
                                                MessageSink& messages);

}  // namespace slab

// The marker pictures of the main window's 3D view, shipped with the program.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "preview3d/camera_markers.h"
#include "preview3d/texels.h"

namespace slab {

struct MarkerPicture {
  int Width = 0;
  int Height = 0;
  std::vector<Rgba> Texels;  // black is transparent
  bool Loaded() const { return Width > 0; }
};

// Reads the four pictures from the program's folder, or from the installed data folder
// relative to it (platform/data_paths.h). A missing or unreadable one is named in a message
// ("Can't find texture file " and its path; the folders looked in when it is in neither)
// and stays empty, so that marker is not drawn.
std::array<MarkerPicture, 4> LoadMarkerPictures(const std::filesystem::path& folder,
                                                MessageSink& messages);

}  // namespace slab

// Which marker each of the level's cameras is shown with in the main window's 3D view.
#pragma once

#include <array>
#include <vector>

#include "level/level.h"

namespace slab {

enum class Marker { Light, Camera, FixedCamera, Sink };
// The marker pictures' files, in the order of Marker.
inline constexpr std::array<const char*, 4> kMarkerFiles{"Light.bmp", "Camera.bmp",
                                                         "FixedCamera.bmp", "Sink.bmp"};

// One entry per camera record. The records serve three purposes, told apart by the trigger
// actions that name them: an underwater current pulls towards its record (a sink), a camera
// action looks from its record (a fixed camera), and any other record is a plain camera.
// A record named by both kinds of action is a sink: the current moves the player, which is
// what someone editing the level most needs to see.
std::vector<Marker> CameraMarkers(const Level& level);

}  // namespace slab

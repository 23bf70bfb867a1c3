// Which marker each of the level's cameras is shown with in the main window's 3D view.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "level/level.h"
#include "preview3d/orbit_camera.h"

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

// The marker the point (x, y) of a width x height view rests on, named for the pointer's
// tooltip: the nearest camera record's or the current room's light whose marker is drawn
// within 8 pixels ("Camera 3", "Fixed camera 2", "Sink 1", "Light 0 of room 4"); empty for
// none. markers: CameraMarkers of the level.
std::string MarkerNameAt(const Level& level, int room, std::span<const Marker> markers,
                         const OrbitCamera& camera, int width, int height, double x, double y);

}  // namespace slab

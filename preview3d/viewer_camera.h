// The viewer window's free camera: start position, keys, the room the eye is in, the frame
// pacing and the overlay texts.
#pragma once

#include <cstdint>
#include <string>

#include "level/level.h"
#include "preview3d/matrix.h"

namespace slab {

struct ViewCamera {
  double X = 0, Y = 0, Z = 0;  // sector units, Y up
  float Yaw = 0;               // 0 to 6.283184; the eye looks along (cos Yaw, 0, sin Yaw)
  float Pitch = 0;             // above the horizontal, -1.4 to 1.4; set by mouse look only
};

inline constexpr float kFullTurn = 6.283184f;

// The eye three quarters of a sector above the first player item (ObjectID 0). When there is
// none, or it stands in a wall or outside its room's sectors, the eye starts as high above
// the open sector (floor byte not 0x81) nearest the centre of the first room that has one,
// at that sector's centre; the origin when no room has an open sector. Yaw 0.
ViewCamera StartCamera(const Level& level);

// One key-down event; returns whether the key moves the camera.
bool ViewerKey(ViewCamera& camera, int keyCode);

// What the viewer window's keys and mouse do, for the key list of Help > Keys: written beside
// the handlers so the two change together.
struct ViewerKeyHelp {
  const char* Keys;
  const char* What;
};
inline constexpr ViewerKeyHelp kViewerKeys[] = {
    {"Up", "Fly forward"},
    {"Down", "Fly backward (half as far a press)"},
    {"Left", "Turn left"},
    {"Right", "Turn right"},
    {"A", "Rise"},
    {"Z", "Sink"},
    {"Drag with the right button", "Look around"},
    {"Wheel", "Fly forward or backward along the line of sight"},
    {"Esc", "Close the viewer"},
};

// Mouse look: a drag of (dx, dy) pixels with the right button held turns the eye 0.005
// radians per pixel, right for a drag to the right and up for a drag upwards (dy < 0); the
// pitch stops at 1.4 either way.
void ViewerMouseLook(ViewCamera& camera, int dx, int dy);

// The mouse wheel: notches (positive away from the user) move the eye half a sector each
// along its line of sight.
void ViewerWheel(ViewCamera& camera, double notches);

// Looking along the yaw, raised by the pitch.
Mat4 ViewerViewMatrix(const ViewCamera& camera);

// The first room whose interior (its outer ring of wall sectors left out) holds the eye, or -1.
int CameraRoom(const Level& level, const ViewCamera& camera);

// A frame is due when more than 5 ms have passed since the last one.
inline bool FrameDue(int64_t now, int64_t previous) { return now - previous > 5; }

// "Fps:" and the rate of the last frame to one decimal, rounded down.
std::string FpsText(int64_t elapsedMs);
// "Room:" and the number, or "Not in any room".
std::string RoomText(int room);

}  // namespace slab

// The main window's 3D camera: it orbits the point it looks at (a chosen sector, a framed room,
// wherever the mouse took it; camera_moves.h), turned, tilted and moved nearer or farther
// with the arrow keys and Page Up / Page Down.
#pragma once

#include <numbers>

#include "level/level.h"
#include "preview3d/matrix.h"

namespace slab {

// The heading the camera starts with: looking along -X, so that the room map's top (the grid's
// first coordinate runs downwards on it, the second to the right) is the view's far side and
// the map's right is the view's right.
inline constexpr double kStartHeading = 1.5 * std::numbers::pi;
// The tilt stops short of the vertical either way: past it the world would turn upside down.
inline constexpr double kMaxTilt = 1.5;

struct OrbitCamera {
  double EyeX = 0, EyeY = 1, EyeZ = 0;
  double TargetX = 5, TargetY = 0, TargetZ = 5;
  double Distance = 3;            // 0.2 to 20 by the keys; framing and the wheel go farther
  double AngleA = kStartHeading;  // turn about the vertical, 0 to 6.28
  double AngleB = 0;              // tilt above the horizontal, -kMaxTilt to kMaxTilt
};
inline constexpr double kOrbitTurn = 6.28;

// A key of the main window; only without modifiers (shiftState 0), as Ctrl moves the selected
// entity instead. Returns whether the key was the camera's. Left and Right turn and wrap
// round; Up and Down tilt and stop at kMaxTilt. Page Down never takes the distance past 20,
// nor pulls a longer framing distance back to it.
bool OrbitCameraKey(OrbitCamera& camera, int keyCode, int shiftState);

// The eye Distance from the target, turned by AngleA about the vertical and tilted by AngleB.
void PlaceOrbitEye(OrbitCamera& camera);

// The floor of a sector in sector units, Y up: one Floor step is a quarter sector.
double FloorHeight(const Sector& sector);
// False for a wall: its Floor byte is the wall marker, not a height.
bool HasFloor(const Sector& sector);

Mat4 OrbitViewMatrix(const OrbitCamera& camera);
// A marker square at (x, y, z) turned to face the camera.
Mat4 MarkerMatrix(const OrbitCamera& camera, float x, float y, float z);

}  // namespace slab

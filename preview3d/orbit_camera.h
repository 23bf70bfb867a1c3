// The main window's 3D camera: it orbits the sector chosen on the map, turned, tilted and
// moved nearer or farther with the arrow keys and Page Up / Page Down.
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
  double Distance = 3;            // 0.2 to 20
  double AngleA = kStartHeading;  // turn about the vertical, 0 to 6.28
  double AngleB = 0;              // tilt above the horizontal, -kMaxTilt to kMaxTilt
  int FocusX = 0;                 // the focus sector, along X
  int FocusZ = 0;                 // and along Z
  bool OrbitMode = true;
  // Set by FrameRoom: while the current room is FramedRoom, the target stays on the room's
  // centre instead of the focus sector. A new focus ends it.
  bool RoomFramed = false;
  int FramedRoom = -1;
};

inline constexpr double kOrbitTurn = 6.28;

// A key of the main window; only without modifiers (shiftState 0), as Ctrl moves the selected
// entity instead. Returns whether the key was the camera's. Left and Right turn and wrap
// round; Up and Down tilt and stop at kMaxTilt. Page Down never takes the distance past 20,
// nor pulls a longer framing distance back to it.
bool OrbitCameraKey(OrbitCamera& camera, int keyCode, int shiftState);

// A left click on sector (x, z) of the map: with Alt held it becomes the focus (and the
// camera is no longer framed on the whole room).
void OrbitCameraClick(OrbitCamera& camera, int x, int z, bool altHeld);

// Places target and eye for this frame. The target is the centre of the focus sector of the
// current room, at the height of the selected sector's floor (the focus sector's when the
// selection is not in the room); where that sector is a wall, which has no floor, the target
// keeps its height, so walling the sector moves nothing. A focus outside the room resets the
// focus to (1, 1) and
// leaves the camera as it was until the next frame. A level without rooms changes nothing.
// A camera framed on the current room (FrameRoom) keeps its target; in every case the eye is
// placed from the target, Distance and the two angles.
void UpdateOrbitCamera(OrbitCamera& camera, const Level& level, int currentRoom, int selectedX,
                       int selectedZ);

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

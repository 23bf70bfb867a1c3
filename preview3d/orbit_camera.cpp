#include "preview3d/orbit_camera.h"

#include <algorithm>
#include <cmath>

#include "preview3d/key_codes.h"

namespace slab {

bool OrbitCameraKey(OrbitCamera& camera, int keyCode, int shiftState) {
  if (shiftState != 0) return false;
  // The arrow keys turn and tilt the camera a tenth of a radian.
  switch (keyCode) {
    case kKeyLeft:
      camera.AngleA += 0.1;
      if (camera.AngleA > kOrbitTurn) camera.AngleA -= kOrbitTurn;
      return true;
    case kKeyRight:
      camera.AngleA -= 0.1;
      if (camera.AngleA < 0) camera.AngleA += kOrbitTurn;
      return true;
    case kKeyUp:
    case kKeyDown:
      camera.AngleB =
          std::clamp(camera.AngleB + (keyCode == kKeyUp ? 0.1 : -0.1), -kMaxTilt, kMaxTilt);
      return true;
    case kKeyPageUp:
      camera.Distance -= 0.4;
      if (camera.Distance < 0.2) camera.Distance = 0.2;
      return true;
    case kKeyPageDown:
      if (camera.Distance < 20) camera.Distance = std::min(camera.Distance + 0.4, 20.0);
      return true;
    default:
      return false;
  }
}

void PlaceOrbitEye(OrbitCamera& camera) {
  const double d = camera.Distance;
  camera.EyeX = camera.TargetX - d * std::sin(camera.AngleA) * std::cos(camera.AngleB);
  camera.EyeY = camera.TargetY + d * std::sin(camera.AngleB);
  camera.EyeZ = camera.TargetZ - d * std::cos(camera.AngleA) * std::cos(camera.AngleB);
}

bool HasFloor(const Sector& sector) { return sector.Floor != kWallMarker; }

double FloorHeight(const Sector& sector) {
  return -static_cast<double>(static_cast<int8_t>(sector.Floor)) / 4.0;
}

Mat4 OrbitViewMatrix(const OrbitCamera& camera) {
  const Vec3 eye{static_cast<float>(camera.EyeX), static_cast<float>(camera.EyeY),
                 static_cast<float>(camera.EyeZ)};
  const Vec3 target{static_cast<float>(camera.TargetX), static_cast<float>(camera.TargetY),
                    static_cast<float>(camera.TargetZ)};
  return ViewMatrix(eye, target);
}

Mat4 MarkerMatrix(const OrbitCamera& camera, float x, float y, float z) {
  // Tilt first, then turn: the square's front (seen along +Z) ends up along the line of sight.
  Mat4 m = Multiply(RotateX(static_cast<float>(camera.AngleB)),
                    RotateY(static_cast<float>(camera.AngleA)));
  m.M[3] = {x, y, z, 1};
  return m;
}

}  // namespace slab

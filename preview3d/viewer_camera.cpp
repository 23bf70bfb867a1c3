#include "preview3d/viewer_camera.h"

#include <cmath>

#include "level/text.h"
#include "preview3d/key_codes.h"

namespace slab {

ViewCamera StartCamera(const Level& level) {
  ViewCamera camera;
  for (const Item& item : level.Items) {
    if (item.ObjectID != 0) continue;
    camera.X = item.X / 1024.0;
    camera.Y = -item.Y / 1024.0 + 0.75;
    camera.Z = item.Z / 1024.0;
    break;
  }
  return camera;
}

bool ViewerKey(ViewCamera& camera, int keyCode) {
  const double c = std::cos(camera.Yaw), s = std::sin(camera.Yaw);
  switch (keyCode) {
    case kKeyUp:
      camera.X += 0.18 * c;
      camera.Z += 0.18 * s;
      return true;
    case kKeyDown:
      camera.X -= 0.09 * c;
      camera.Z -= 0.09 * s;
      return true;
    case kKeyLeft:
    case kKeyRight:
      camera.Yaw += keyCode == kKeyLeft ? 0.1f : -0.1f;
      if (camera.Yaw > kFullTurn) camera.Yaw -= kFullTurn;
      if (camera.Yaw < 0) camera.Yaw += kFullTurn;
      return true;
    case kKeyA:
      camera.Y += 0.2;
      return true;
    case kKeyZ:
      camera.Y -= 0.2;
      return true;
    default:
      return false;
  }
}

Mat4 ViewerViewMatrix(const ViewCamera& camera) {
  const Vec3 eye{static_cast<float>(camera.X), static_cast<float>(camera.Y),
                 static_cast<float>(camera.Z)};
  const Vec3 target{eye.X + std::cos(camera.Yaw), eye.Y, eye.Z + std::sin(camera.Yaw)};
  return ViewMatrix(eye, target);
}

int CameraRoom(const Level& level, const ViewCamera& camera) {
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    const double rx = room.Info.X / 1024.0, rz = room.Info.Z / 1024.0;
    if (camera.X >= rx + 1 && camera.X <= rx + room.NumXSectors - 1 && camera.Z >= rz + 1 &&
        camera.Z <= rz + room.NumZSectors - 1 && camera.Y >= -room.Info.YBottom / 1024.0 &&
        camera.Y <= -room.Info.YTop / 1024.0)
      return static_cast<int>(r);
  }
  return -1;
}

std::string FpsText(int64_t elapsedMs) {
  if (elapsedMs <= 0) return "Fps:" + NumText(0);
  const auto tenths = static_cast<int64_t>(std::floor(10000.0 / static_cast<double>(elapsedMs)));
  std::string text = "Fps:" + NumText(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
  return text;
}

std::string RoomText(int room) { return room < 0 ? "Not in any room" : "Room:" + NumText(room); }

}  // namespace slab

#include "preview3d/viewer_camera.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "level/text.h"
#include "preview3d/key_codes.h"
#include "preview3d/orbit_camera.h"

namespace slab {

// Game units a scene unit (a sector) holds.
constexpr double kUnits = kSectorUnits;

namespace {

constexpr double kEyeHeight = 0.75;

// The sector under a world position (game units) in a room, or nothing outside its grid.
const Sector* SectorUnder(const Level& level, int room, int32_t x, int32_t z) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return nullptr;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  const int64_t dx = int64_t{x} - r.Info.X, dz = int64_t{z} - r.Info.Z;
  if (dx < 0 || dz < 0) return nullptr;
  const auto a = static_cast<int>(std::min<int64_t>(dx / kSectorUnits, INT32_MAX));
  const auto b = static_cast<int>(std::min<int64_t>(dz / kSectorUnits, INT32_MAX));
  return r.HasSector(a, b) ? &r.SectorAt(a, b) : nullptr;
}

}  // namespace

ViewCamera StartCamera(const Level& level) {
  ViewCamera camera;
  const auto player = std::find_if(level.Items.begin(), level.Items.end(),
                                   [](const Item& item) { return item.ObjectID == 0; });
  if (player != level.Items.end()) {
    const Sector* under = SectorUnder(level, player->Room, player->X, player->Z);
    if (under != nullptr && under->Floor != kWallMarker) {
      camera.X = player->X / kUnits;
      camera.Y = -player->Y / kUnits + kEyeHeight;
      camera.Z = player->Z / kUnits;
      return camera;
    }
  }
  // No player to stand on: the open sector nearest the centre of the first room with one.
  for (const Room& room : level.Rooms) {
    const double centreA = room.NumXSectors / 2.0, centreB = room.NumZSectors / 2.0;
    double best = -1;
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b) {
        if (!room.HasSector(a, b) || room.SectorAt(a, b).Floor == kWallMarker) continue;
        const double da = a + 0.5 - centreA, db = b + 0.5 - centreB;
        const double distance = da * da + db * db;
        if (best >= 0 && distance >= best) continue;
        best = distance;
        camera.X = room.Info.X / kUnits + a + 0.5;
        camera.Z = room.Info.Z / kUnits + b + 0.5;
        camera.Y = FloorHeight(room.SectorAt(a, b)) + kEyeHeight;
      }
    if (best >= 0) return camera;
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

void ViewerMouseLook(ViewCamera& camera, int dx, int dy) {
  constexpr float kPerPixel = 0.005f, kMaxPitch = 1.4f;
  camera.Yaw = std::fmod(camera.Yaw - static_cast<float>(dx) * kPerPixel, kFullTurn);
  if (camera.Yaw < 0) camera.Yaw += kFullTurn;
  camera.Pitch =
      std::clamp(camera.Pitch - static_cast<float>(dy) * kPerPixel, -kMaxPitch, kMaxPitch);
}

void ViewerWheel(ViewCamera& camera, double notches) {
  const double step = 0.5 * notches, flat = std::cos(camera.Pitch);
  camera.X += step * flat * std::cos(camera.Yaw);
  camera.Y += step * std::sin(camera.Pitch);
  camera.Z += step * flat * std::sin(camera.Yaw);
}

Mat4 ViewerViewMatrix(const ViewCamera& camera) {
  const Vec3 eye{static_cast<float>(camera.X), static_cast<float>(camera.Y),
                 static_cast<float>(camera.Z)};
  const float flat = std::cos(camera.Pitch);
  const Vec3 target{eye.X + flat * std::cos(camera.Yaw), eye.Y + std::sin(camera.Pitch),
                    eye.Z + flat * std::sin(camera.Yaw)};
  return ViewMatrix(eye, target);
}

int CameraRoom(const Level& level, const ViewCamera& camera) {
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    const double rx = room.Info.X / kUnits, rz = room.Info.Z / kUnits;
    if (camera.X >= rx + 1 && camera.X <= rx + room.NumXSectors - 1 && camera.Z >= rz + 1 &&
        camera.Z <= rz + room.NumZSectors - 1 && camera.Y >= -room.Info.YBottom / kUnits &&
        camera.Y <= -room.Info.YTop / kUnits)
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

#include "preview3d/camera_markers.h"

#include "floordata/walkers.h"
#include "preview3d/room_framing.h"
#include "preview3d/scene_units.h"

namespace slab {

std::vector<Marker> CameraMarkers(const Level& level) {
  std::vector<Marker> markers(level.Cameras.size(), Marker::Camera);
  auto mark = [&](int16_t param, Marker marker) {
    if (param < 0 || static_cast<size_t>(param) >= markers.size()) return;
    Marker& m = markers[static_cast<size_t>(param)];
    if (m != Marker::Sink) m = marker;
  };
  for (const Room& room : level.Rooms) {
    for (const Sector& sector : room.Sectors) {
      if (sector.FDIndex == 0) continue;
      for (const TriggerEntry& entry : GetTriggerList(level, sector.FDIndex)) {
        if (entry.Action == kActionSink)
          mark(entry.Param, Marker::Sink);
        else if (entry.Action == kActionCamera)
          mark(entry.Param, Marker::FixedCamera);
      }
    }
  }
  return markers;
}

std::string MarkerNameAt(const Level& level, int room, std::span<const Marker> markers,
                         const OrbitCamera& camera, int width, int height, double x, double y) {
  constexpr double kReach = 8;  // pixels: about a marker's size at a usual distance
  double nearest = kReach * kReach;
  std::string name;
  auto consider = [&](Vec3 at, const std::string& what) {
    const auto p = ProjectPoint(camera, width, height, at);
    if (!p) return;
    const double d = (p->X - x) * (p->X - x) + (p->Y - y) * (p->Y - y);
    if (d > nearest) return;
    nearest = d;
    name = what;
  };
  for (size_t i = 0; i < level.Cameras.size() && i < markers.size(); ++i) {
    static constexpr std::array<const char*, 4> kWords{"Light", "Camera", "Fixed camera", "Sink"};
    const Camera& c = level.Cameras[i];
    consider(ScenePosition(c.X, c.Y, c.Z),
             std::string(kWords[static_cast<size_t>(markers[i])]) + " " + std::to_string(i));
  }
  if (room >= 0 && static_cast<size_t>(room) < level.Rooms.size()) {
    const auto& lights = level.Rooms[static_cast<size_t>(room)].Lights;
    for (size_t i = 0; i < lights.size(); ++i)
      consider(ScenePosition(lights[i].X, lights[i].Y, lights[i].Z),
               "Light " + std::to_string(i) + " of room " + std::to_string(room));
  }
  return name;
}

}  // namespace slab

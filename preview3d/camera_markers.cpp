#include "preview3d/camera_markers.h"

#include "floordata/walkers.h"

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

}  // namespace slab

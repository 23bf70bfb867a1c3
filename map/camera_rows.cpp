// The cameras and sinks list: what each camera record serves as, told by the triggers that
// name it.
#include <cstdio>

#include "floordata/walkers.h"
#include "level/text.h"
#include "map/level_tables.h"
#include "map/table_rows.h"

namespace slab {
namespace {

const char* KindText(CameraKind kind) {
  switch (kind) {
    case CameraKind::FixedCamera:
      return "Fixed camera";
    case CameraKind::Sink:
      return "Sink";
    case CameraKind::Camera:
      break;
  }
  return "Camera";
}

}  // namespace

const std::vector<std::string>& CameraColumnTitles() {
  static const std::vector<std::string> titles = {"Index", "Kind", "Room",  "Sector",  "X",
                                                  "Y",     "Z",    "Flags", "Triggers"};
  return titles;
}

std::vector<CameraRow> BuildCameraRows(const Level& level) {
  std::vector<CameraRow> rows(level.Cameras.size());
  // One walk over the sectors, as the trigger index is built: room order, then b, then a.
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int b = 0; b < room.NumZSectors; ++b)
      for (int a = 0; a < room.NumXSectors; ++a) {
        if (!room.HasSector(a, b) || room.SectorAt(a, b).FDIndex == 0) continue;
        for (const TriggerEntry& entry : GetTriggerList(level, room.SectorAt(a, b).FDIndex)) {
          if (entry.Action != kActionSink && entry.Action != kActionCamera) continue;
          if (entry.Param < 0 || static_cast<size_t>(entry.Param) >= rows.size()) continue;
          CameraRow& row = rows[static_cast<size_t>(entry.Param)];
          // A record named by both is a sink: the current moves the player, which matters most.
          if (entry.Action == kActionSink)
            row.Kind = CameraKind::Sink;
          else if (row.Kind == CameraKind::Camera)
            row.Kind = CameraKind::FixedCamera;
          const TriggerLocation at{static_cast<int>(r), a, b};
          if (row.UsedBy.empty() || !(row.UsedBy.back() == at)) row.UsedBy.push_back(at);
        }
      }
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    const Camera& c = level.Cameras[i];
    CameraRow& row = rows[i];
    const bool sink = row.Kind == CameraKind::Sink;
    // A sink keeps the current's strength in the room field; its room is where it stands.
    const int room = sink ? RoomAtPosition(level, c.X, c.Y, c.Z) : c.Room;
    row.Target = table_rows::TargetAt(level, room, c.X, c.Z);
    row.Target.Camera = static_cast<int>(i);
    char flags[8];
    std::snprintf(flags, sizeof flags, "0x%04X", static_cast<unsigned>(c.Flag));
    std::string triggers;
    for (const TriggerLocation& at : row.UsedBy)
      triggers += (triggers.empty() ? "" : ", ") + std::to_string(at.Room) + " [" +
                  SectorPlace(at.X, at.Z) + "]";
    row.Cells = {std::to_string(i),
                 KindText(row.Kind),
                 sink ? table_rows::RoomCell(room) : std::to_string(c.Room),
                 table_rows::SectorCell(row.Target),
                 std::to_string(c.X),
                 std::to_string(c.Y),
                 std::to_string(c.Z),
                 sink ? std::string(flags) + ", strength " + std::to_string(c.Room) : flags,
                 triggers};
    FillRowSearch(row);
  }
  return rows;
}

}  // namespace slab

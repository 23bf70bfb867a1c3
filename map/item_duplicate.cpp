#include "map/item_duplicate.h"

#include <utility>

#include "map/entity.h"

namespace slab {

std::optional<int> DuplicateEntity(Document& doc, const MapState& state) {
  Level& level = doc.CurrentLevel;
  const ConstEntityRef source = FindEntity(std::as_const(level), state.SelectedEntity);
  const int roomIndex = state.CurrentRoom;
  if (!source || roomIndex < 0 || static_cast<size_t>(roomIndex) >= level.Rooms.size())
    return std::nullopt;
  const Room& room = level.Rooms[static_cast<size_t>(roomIndex)];
  const int a = state.SelectedSectorX, b = state.SelectedSectorZ;
  if (!room.HasSector(a, b)) return std::nullopt;

  auto place = [&](auto& copy) {
    copy.Room = static_cast<int16_t>(roomIndex);
    copy.X = room.Info.X + kSectorUnits * a + kSectorUnits / 2;
    copy.Z = room.Info.Z + kSectorUnits * b + kSectorUnits / 2;
    // The floor byte counts clicks of 256 units, signed.
    copy.Y = static_cast<int8_t>(room.SectorAt(a, b).Floor) * 256;
  };
  doc.Modified = true;
  if (source.ItemRecord) {
    Item copy = *source.ItemRecord;
    place(copy);
    level.Items.push_back(copy);
    return static_cast<int>(level.Items.size()) - 1;
  }
  AIObject copy = *source.AI;
  place(copy);
  level.AIObjects.push_back(copy);
  return static_cast<int>(level.Items.size() + level.AIObjects.size()) - 1;
}

}  // namespace slab

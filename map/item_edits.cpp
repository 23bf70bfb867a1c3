#include "map/item_edits.h"

#include <cmath>
#include <limits>

#include "map/draw_room.h"
#include "map/entity.h"
#include "map/selection.h"

namespace slab {
namespace {

constexpr int kEighthTurn = 8192;
constexpr int kStep = 128;

int16_t Rotated(int16_t angle) {
  int value = angle < 0 ? angle + 65536 : angle;
  value += kEighthTurn;
  if (value >= 32768) value -= 65536;
  return static_cast<int16_t>(value);
}

enum class Axis { X, Y, Z };
struct MoveStep {
  Axis Along;
  int Direction;
};

// Up and Down step along Z, Right and Left along X, Page Up and Page Down along Y (the game's
// Y axis points down, so Page Up lowers Y).
MoveStep StepOf(MoveKey key) {
  switch (key) {
    case MoveKey::Up:
      return {Axis::Z, +1};
    case MoveKey::Down:
      return {Axis::Z, -1};
    case MoveKey::Right:
      return {Axis::X, +1};
    case MoveKey::Left:
      return {Axis::X, -1};
    case MoveKey::PageUp:
      return {Axis::Y, -1};
    case MoveKey::PageDown:
      break;
  }
  return {Axis::Y, +1};
}

}  // namespace

std::string MoveKeyEffect(MoveKey key) {
  const MoveStep step = StepOf(key);
  const bool plus = step.Direction > 0;
  switch (step.Along) {
    case Axis::X:
      return plus ? "one sector down the map (X + 1024)" : "one sector up the map (X - 1024)";
    case Axis::Z:
      return plus ? "one sector right on the map (Z + 1024)"
                  : "one sector left on the map (Z - 1024)";
    case Axis::Y:
      break;
  }
  return plus ? "128 units lower (Y + 128)" : "128 units higher (Y - 128)";
}

std::optional<int16_t> ItemRotate(Document& doc, MapState& state) {
  const auto ref = FindEntity(doc.CurrentLevel, state.SelectedEntity);
  if (!ref) return std::nullopt;
  int16_t angle = 0;
  if (ref.ItemRecord) {
    angle = ref.ItemRecord->Angle = Rotated(ref.ItemRecord->Angle);
  } else {
    angle = Rotated(static_cast<int16_t>(ref.AI->Angle & 0xFFFF));
    ref.AI->Angle = static_cast<int32_t>((static_cast<uint32_t>(ref.AI->Angle) & 0xFFFF0000u) |
                                         static_cast<uint16_t>(angle));
  }
  doc.Modified = true;
  return angle;
}

void AddItem(Level& level, const Item& item) { level.Items.push_back(item); }

std::optional<int> ItemAdd(Document& doc, const MapState& state) {
  Level& level = doc.CurrentLevel;
  const int roomIndex = state.CurrentRoom;
  if (roomIndex < 0 || static_cast<size_t>(roomIndex) >= level.Rooms.size()) return std::nullopt;
  const Room& room = level.Rooms[roomIndex];
  const int a = state.SelectedSectorX, b = state.SelectedSectorZ;
  if (!room.HasSector(a, b)) return std::nullopt;

  Item item;
  item.ObjectID = 0;
  item.Room = static_cast<int16_t>(roomIndex);
  item.X = room.Info.X + kSectorUnits * a + kSectorUnits / 2;
  item.Z = room.Info.Z + kSectorUnits * b + kSectorUnits / 2;
  // The floor byte counts clicks of 256 units, signed.
  item.Y = static_cast<int8_t>(room.SectorAt(a, b).Floor) * 256;
  item.Angle = 0;
  // -1 lets the engine light the item from its room, as every item of the real levels is lit;
  // any other value would fix its shade.
  item.Intensity1 = -1;
  item.OCB = doc.GameVersion == Game::TR4 || doc.GameVersion == Game::TR5 ? 0 : -1;
  item.Flags = 0;
  AddItem(level, item);
  const int index = static_cast<int>(level.Items.size()) - 1;
  doc.Modified = true;
  return index;
}

std::vector<std::string> ObjectTypeList(const Level& level, Game gameVersion,
                                        const ObjectNames& names, bool allItems) {
  std::vector<std::string> lines;
  auto nameOf = [&](int id) {
    return std::string(ObjectName(names, id, gameVersion).value_or(""));
  };
  if (allItems) {
    for (int id = 0; id <= kAllItemsLastId; ++id) lines.push_back(nameOf(id));
  } else {
    for (const Moveable& moveable : level.Moveables) lines.push_back(nameOf(moveable.ObjectID));
  }
  return lines;
}

std::vector<std::string> ClickAllItems(const Document& doc, MapState& state,
                                       const ObjectNames& names) {
  state.AllItems = !state.AllItems;
  return ObjectTypeList(doc.CurrentLevel, doc.GameVersion, names, state.AllItems);
}

int TypeListRow(const Level& level, bool allItems, int objectId) {
  if (allItems) return objectId >= 0 && objectId <= kAllItemsLastId ? objectId : -1;
  for (size_t m = 0; m < level.Moveables.size(); ++m)
    if (level.Moveables[m].ObjectID == objectId) return static_cast<int>(m);
  return -1;
}

int TypeListObject(const Level& level, bool allItems, int row) {
  if (row < 0) return -1;
  if (allItems) return row <= kAllItemsLastId ? row : -1;
  if (static_cast<size_t>(row) >= level.Moveables.size()) return -1;
  return level.Moveables[static_cast<size_t>(row)].ObjectID;
}

bool ChooseObjectType(Document& doc, MapState& state, int position) {
  Level& level = doc.CurrentLevel;
  const auto ref = FindEntity(level, state.SelectedEntity);
  if (!ref) return false;
  const int id = TypeListObject(level, state.AllItems, position);
  if (id < 0) return false;
  int16_t& objectId = ref.ItemRecord ? ref.ItemRecord->ObjectID : ref.AI->ObjectID;
  if (objectId == static_cast<int16_t>(id)) return false;
  objectId = static_cast<int16_t>(id);
  doc.Modified = true;
  return true;
}

MoveResult MoveSelectedEntity(Document& doc, const MapState& state, MoveKey key, int shift) {
  if (shift != kCtrlKey) return MoveResult::NotMoved;
  Level& level = doc.CurrentLevel;
  const auto ref = FindEntity(level, state.SelectedEntity);
  if (!ref) return MoveResult::NotMoved;
  const int roomIndex = ref.ItemRecord ? ref.ItemRecord->Room : ref.AI->Room;
  if (roomIndex < 0 || static_cast<size_t>(roomIndex) >= level.Rooms.size())
    return MoveResult::NotMoved;
  const Room& room = level.Rooms[roomIndex];
  int32_t& x = ref.ItemRecord ? ref.ItemRecord->X : ref.AI->X;
  int32_t& y = ref.ItemRecord ? ref.ItemRecord->Y : ref.AI->Y;
  int32_t& z = ref.ItemRecord ? ref.ItemRecord->Z : ref.AI->Z;

  // Positions are compared in sectors with their fraction, so an entity at a sector's centre
  // may step onto every inner sector and never onto the outer ring.
  auto sectors = [](double units) { return units / kSectorUnits; };
  const MoveStep step = StepOf(key);
  int32_t* coordinate = &y;
  int delta = 0;
  if (step.Along == Axis::Y) {
    delta = step.Direction * kStep;
  } else {
    const bool alongZ = step.Along == Axis::Z;
    const int direction = step.Direction;
    int32_t& at = alongZ ? z : x;
    const double first = sectors(alongZ ? room.Info.Z : room.Info.X);
    const int count = alongZ ? room.NumZSectors : room.NumXSectors;
    const double next = sectors(at) + direction;
    if (direction > 0 ? !(next < first + count - 1) : !(next > first + 1))
      return MoveResult::AtEdge;
    coordinate = &at, delta = direction * kSectorUnits;
  }
  const int64_t moved = int64_t{*coordinate} + delta;
  if (moved < std::numeric_limits<int32_t>::min() || moved > std::numeric_limits<int32_t>::max())
    return MoveResult::NotMoved;
  *coordinate = static_cast<int32_t>(moved);
  doc.Modified = true;
  return MoveResult::Moved;
}

}  // namespace slab

#include "map/place_texts.h"

#include <cmath>
#include <cstdio>

#include "floordata/sector_contents.h"
#include "level/text.h"
#include "map/entity.h"

namespace slab {

std::string HeightText(uint8_t heightByte) {
  const int clicks = static_cast<int8_t>(heightByte);
  const bool one = clicks == 1 || clicks == -1;
  return std::to_string(clicks) + (one ? " click (" : " clicks (") + std::to_string(clicks * 256) +
         ")";
}

std::string DegreesText(int64_t angle) {
  const int64_t turn = ((angle % 65536) + 65536) % 65536;
  // Tenths of a degree, rounded; a whole turn after rounding is 0.
  const int64_t tenths = std::llround(static_cast<double>(turn) * 3600.0 / 65536.0) % 3600;
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
  return text + "\u00B0";
}

std::string EntityPlace::Text() const {
  std::string text = Room;
  if (!Sector.empty()) text += ", " + Sector;
  return text + ", " + Position + ", " + Facing;
}

std::optional<EntityPlace> PlaceOfEntity(const Level& level, int entity) {
  const ConstEntityRef ref = FindEntity(level, entity);
  if (!ref) return std::nullopt;
  const int room = ref.ItemRecord ? ref.ItemRecord->Room : ref.AI->Room;
  const int32_t x = ref.ItemRecord ? ref.ItemRecord->X : ref.AI->X;
  const int32_t y = ref.ItemRecord ? ref.ItemRecord->Y : ref.AI->Y;
  const int32_t z = ref.ItemRecord ? ref.ItemRecord->Z : ref.AI->Z;
  // An AI object keeps its facing in 32 bits; the game reads the low 16 as an item's.
  const int64_t angle = ref.ItemRecord ? ref.ItemRecord->Angle : (ref.AI->Angle & 0xFFFF);
  EntityPlace place;
  place.Room = "Room " + std::to_string(room);
  if (room >= 0 && static_cast<size_t>(room) < level.Rooms.size()) {
    const RoomInfo& info = level.Rooms[static_cast<size_t>(room)].Info;
    place.Sector =
        "Sector " + SectorPlace(SectorOfPosition(x, info.X), SectorOfPosition(z, info.Z));
  } else {
    place.Room += " (not in the level)";
  }
  place.Position =
      "X " + std::to_string(x) + ", Y " + std::to_string(y) + ", Z " + std::to_string(z);
  place.Facing = "Facing " + DegreesText(angle);
  return place;
}

}  // namespace slab

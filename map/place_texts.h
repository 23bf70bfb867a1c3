// Short texts about where things are, as the item panel and the map's tooltip show them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "level/level.h"

namespace slab {

// A floor or ceiling byte as people read a height: signed clicks of 256 units, the game's Y
// running down, so the byte 254 reads "-2 clicks (-512)" and 1 reads "1 click (256)".
std::string HeightText(uint8_t heightByte);

// An angle of 65536 to the full turn in degrees from 0 up to 360, to a tenth where it is not
// whole: 16384 reads "90°", 0x2AAA "60°" after rounding, -16384 "270°".
std::string DegreesText(int64_t angle);

// Where an item or AI object stands, as the item panel shows it.
struct EntityPlace {
  std::string Room;    // "Room 3", or "Room 99 (not in the level)"
  std::string Sector;  // "Sector 1,4", numbered as the sector panel's caption; empty off the rooms
  std::string Position;  // "X 1536, Y -256, Z 2560"
  std::string Facing;    // "Facing 90°"
  // The four on one line, joined by ", " (the empty sector left out).
  std::string Text() const;
};
std::optional<EntityPlace> PlaceOfEntity(const Level& level, int entity);

}  // namespace slab

// A third-game level whose references point nowhere, which the window must open and show: a
// trigger naming item 140 of 8, an item in room 9 of 4 and one in a wall, a portal to room 230,
// a sector over room 200, a face with texture 500, a static of an undefined id and a sector in
// box 9 of 4.
#pragma once

#include "tools/showcase_level.h"

namespace slab::test {

inline DraftLevel FaultyDraft() {
  DraftLevel d = ShowcaseDraft();
  DraftRoom& hall = d.Rooms[0];
  auto at = [&](int x, int z) -> Sector& {
    return hall.Sectors[static_cast<size_t>(x * hall.NumZSectors + z)];
  };
  at(3, 1).FDIndex = static_cast<uint16_t>(d.FloorData.size());
  d.FloorData.insert(d.FloorData.end(), {0x8004, 0x3E00, 0x8000 | 140});
  at(1, 1).RoomBelow = 200;
  at(1, 2).BoxIndex = 9 << 4;
  d.Items[5].Room = 9;
  d.Items[7].X = 512;  // sector 0,5 of the hall: a wall
  hall.Rectangles[2].Texture = int16_t(0x8000 | 500);
  hall.StaticMeshes[0].ObjectID = 33;
  Portal lost = d.Rooms[3].Portals[0];
  lost.AdjoiningRoom = 230;
  d.Rooms[3].Portals.push_back(lost);
  return d;
}

}  // namespace slab::test

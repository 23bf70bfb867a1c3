// The trigger index as the plain nested loops find it: for each item, each room, each
// sector (b outer, a inner), ask whether the sector triggers the item. The reference that
// the one-pass build is checked and measured against.
#pragma once

#include "floordata/walkers.h"
#include "map/map_state.h"

namespace slab::test {

inline TriggerIndex NestedTriggerIndex(const Level& level) {
  TriggerIndex index(level.Items.size());
  for (size_t item = 0; item < level.Items.size(); ++item)
    for (size_t r = 0; r < level.Rooms.size(); ++r) {
      const Room& room = level.Rooms[r];
      for (int b = 0; b < room.NumZSectors; ++b)
        for (int a = 0; a < room.NumXSectors; ++a)
          if (room.HasSector(a, b) &&
              SectorHasObjectTrigger(level, room.SectorAt(a, b).FDIndex, static_cast<int>(item)))
            index[item].push_back({static_cast<int>(r), a, b});
    }
  return index;
}

}  // namespace slab::test

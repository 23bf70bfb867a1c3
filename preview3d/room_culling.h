// Which rooms of the whole level the main window's 3D view draws, and in what order: the
// current room, then the rooms seen through its portals (and theirs, breadth first), then any
// other room whose box the view takes in. Rooms wholly outside the view are left out. Free of
// any toolkit.
#pragma once

#include <vector>

#include "level/level.h"
#include "preview3d/matrix.h"

namespace slab {

// The rooms that make up the level as shown: with `alternates` each room that has an
// alternate is replaced by it (the flip map), without them the alternates are left out. The
// current room is always among them, in place of its counterpart.
std::vector<int> LevelRooms(const Level& level, int current, bool alternates);

// Whether any part of the box (sector units, Y up) can be inside the view: false only when
// all its corners lie beyond one side of it.
bool BoxInView(Vec3 min, Vec3 max, const Mat4& viewProjection);

// The rooms of LevelRooms to draw with this view and projection, seen from `eye`, in drawing
// order: the current room, those through portals breadth first, then the rest nearest first,
// so the depth test spares the far rooms' pixels.
std::vector<int> RoomsInView(const Level& level, int current, bool alternates,
                             const Mat4& viewProjection, Vec3 eye);

}  // namespace slab

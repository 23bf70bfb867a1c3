// What the 3D view marks about triggers: the floors of the sectors that hold one, tinted as the
// map tints them, and lines from a trigger's sector to each item, camera or sink its actions
// name, or to an item from each sector whose trigger names it. Free of any toolkit.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "level/level.h"
#include "preview3d/matrix.h"
#include "preview3d/orbit_camera.h"
#include "preview3d/room_faces.h"
#include "preview3d/room_framing.h"

namespace slab {

struct SceneLine {
  Vec3 From, To;  // sector units, Y up
};

// Where a line ends at an item: half a sector above where it stands, its middle for most.
Vec3 ItemLineEnd(const Item& item);
// Where a line starts at a sector: the middle of its floor.
std::optional<Vec3> SectorLineEnd(const Level& level, int room, int x, int z);

// From sector (x, z) of the room: one line per action of its trigger that names an item
// (object, target), a camera or a sink, each to what it names. Actions naming nothing the level
// has draw no line.
std::vector<SceneLine> TriggerLinesFrom(const Level& level, int room, int x, int z);
// To item `item`: one line from each sector of the level whose trigger names it.
std::vector<SceneLine> TriggerLinesTo(const Level& level, int item);

// A line as the view shows it, the part behind the eye cut off; nothing when all of it is
// behind.
struct ScreenSegment {
  ScreenPoint From, To;
};
std::optional<ScreenSegment> ProjectSegment(const OrbitCamera& camera, int width, int height,
                                            Vec3 a, Vec3 b);

// Tints with a colour (0xRRGGBB), half mixed with white, the floors of the room's trigger
// sectors in the list: each face of the
// room that looks upward and lies on one sector holding a trigger. The selected sector's red
// stays.
void TintTriggerFloors(const Level& level, int room, uint32_t colour, RoomFaceList& list);

}  // namespace slab

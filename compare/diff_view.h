// A comparison as the window shows it: its changes grouped by room, each leading to its place
// in the new level, filtered as the user types; and the sectors of a room to outline on the
// map.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "compare/level_diff.h"
#include "map/change_outlines.h"

namespace slab {

// Where a line leads in the new level: the room chosen, the sector selected, the entity chosen;
// -1 for each that it does not name.
struct DiffPlace {
  int Room = -1;
  int A = -1, B = -1;
  int Entity = -1;
  bool operator==(const DiffPlace&) const = default;
};

struct DiffLine {
  std::string Text;  // the change's headline, as the command line prints it
  std::vector<std::string> Details;
  DiffPlace Place;
};

struct DiffGroup {
  // "Room 3: 2 changes", "Level: 1 change", "Sections: 2 of 20 differ", "Not compared",
  // "Notes".
  std::string Heading;
  DiffPlace Place;  // a room's group leads to the room
  std::vector<DiffLine> Lines;
};

// Level-wide changes first, then each room with changes in room order, then the sections that
// differ, those not compared and the notes.
std::vector<DiffGroup> DiffGroups(const LevelDiff& diff);

// The lines whose group heading, headline and details together hold every word of text, case
// ignored; groups left without lines are dropped. An empty text keeps everything.
std::vector<DiffGroup> FilterDiffGroups(const std::vector<DiffGroup>& groups,
                                        std::string_view text);

// The sectors of room `room` with a change on them: their record or floor data, or an item,
// AI object or static mesh added, removed or changed there. Each once, in order. A trigger
// whose actions were only renumbered with their items is left out: nothing changed there
// that a designer would look for.
std::vector<SectorSpot> ChangedSectors(const LevelDiff& diff, int room);

// The rooms with at least one change, in order.
std::vector<int> ChangedRooms(const LevelDiff& diff);

}  // namespace slab

// The showcase level the run command opens: a third-game level made by the composer, with
// something for every colour of the map and every panel, and textured rooms and meshes for
// the 3D view. No game data goes into it.
#pragma once

#include <filesystem>

#include "tools/compose_classic.h"

namespace slab::test {

// Rooms: 0 a hall (8 x 8 sectors) with room 2 above part of it; 1 a corridor joined to the
// hall and to room 3 by portals; 3 a minecart yard. What stands where:
//   room 0: Lara at (2, 2); a door at (6, 4); a wall switch on the switch trigger at (2, 5)
//           that opens the door and shows camera 0; a pad trigger at (4, 1) for the tiger;
//           a heavy trigger at (6, 6) for the boulder; a kill square at (5, 2); climbable
//           walls beside (6, 1) and (6, 2); a pushable block and a static mesh at (5, 5);
//           plants at (1, 1) and (1, 6); portals to room 1 at (7, 3) and (7, 4); room 2
//           above (3..4, 3..4).
//   room 1: the tiger at (2, 1); an anti-pad trigger at (1, 2); monkey-swing at (4, 1..2).
//   room 2: the boulder at (3, 1), over the hall.
//   room 3: a minecart track from a stop at (2, 2) through left and right turns to a stop at
//           (5, 5); a trigger at (4, 2) for the yard's door at (4, 4) and the hall's door;
//           the shotgun on its pickup trigger at (6, 6); a kill square at (6, 2).
DraftLevel ShowcaseDraft();

// The showcase as a second-game level: with the second game's object ids, box words, lights and
// static intensities, and without the monkey-swing and minecart entries (third-game floor data)
// unless they are to be kept, each then an error of the level.
DraftLevel SecondGameShowcaseDraft(bool keepThirdGameFloorData = false);

// The showcase as a file: what the run command opens.
void WriteShowcaseLevel(const std::filesystem::path& path);

// Item indexes of the showcase.
inline constexpr int kShowcaseLara = 0;
inline constexpr int kShowcaseDoor = 1;
inline constexpr int kShowcaseSwitch = 2;
inline constexpr int kShowcaseTiger = 3;
inline constexpr int kShowcaseShotgun = 4;
inline constexpr int kShowcaseBoulder = 5;
inline constexpr int kShowcaseYardDoor = 6;
inline constexpr int kShowcaseBlock = 7;

}  // namespace slab::test

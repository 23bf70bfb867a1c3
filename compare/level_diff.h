// What differs between two versions of a level, as people read it: room by room, sector by
// sector, item by item, and for every other section of the file whether it is equal. The
// first level is the old version, the second the new one; places are given in both, and where
// to go in the new one (room, sector, entity) so that a list of the changes can lead there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "floordata/object_names.h"
#include "level/level.h"

namespace slab {

enum class ChangeKind : uint8_t {
  Added,       // only in the new level
  Removed,     // only in the old level
  Changed,     // in both, different
  Renumbered,  // in both, the same but for the numbers of the items it names
};

// What a change is about, in the order the changes of one room are listed.
enum class ChangeSubject : uint8_t {
  Room,      // the room itself (added, removed) or its header
  Geometry,  // its vertices, faces, sprites (and the fifth game's layers)
  Portal,
  Light,
  Static,  // a static mesh placed in the room
  Sector,  // its record and its floor-data list
  Item,
  AIObject,
};

struct Change {
  ChangeKind Kind = ChangeKind::Changed;
  ChangeSubject Subject = ChangeSubject::Room;
  // The room the change is listed under: the new level's room of an item that is in both.
  int Room = -1;
  // A sector, 0-based grid coordinates (as SectorAt takes them); -1 when the change is not
  // about one sector. Texts name them through SectorPlace.
  int A = -1, B = -1;
  // The index in each level of the light, static mesh, portal, item or AI object; -1 where it
  // is not there.
  int OldIndex = -1, NewIndex = -1;
  // The new level's entity number (items first, then AI objects) to choose; -1 for none.
  int Entity = -1;
  std::string Where;                 // "room 3, sector 1,4" or "room 3, item 12 -> 11 (Door)"
  std::string Summary;               // one line of what changed: "floor, trigger actions"
  std::vector<std::string> Details;  // one line per difference: "floor 0 -> 2 clicks"
};

// A section of the file outside the rooms and the items.
struct SectionDiff {
  std::string Name;  // "texture pages", "animations"...
  int64_t OldCount = 0, NewCount = 0;
  bool Equal = true;
  // For a list: the entries (pages by number) that differ among those both have, in order;
  // at most kMaxListedEntries of them, DifferingCount tells how many there are in all.
  std::vector<int64_t> Differing;
  int64_t DifferingCount = 0;
};

inline constexpr size_t kMaxListedEntries = 20;

struct LevelDiff {
  Game OldGame = Game::None, NewGame = Game::None;
  int64_t OldRooms = 0, NewRooms = 0;
  int64_t OldItems = 0, NewItems = 0;
  std::vector<Change> Changes;  // grouped by room in room order; level-wide ones (-1) first
  std::vector<SectionDiff> Sections;
  // Levels of different games: the sections that were not compared.
  std::vector<std::string> NotCompared;
  // What differs without changing what the game does (the floor data laid out anew).
  std::vector<std::string> Notes;

  // Levels of different games are never equal, whatever was compared of them.
  bool Equal() const;
  // What was compared is equal: the changes and sections are empty or equal.
  bool ComparedPartsEqual() const;
};

// Compares two levels of any games. Levels of the same game are compared in full; levels of
// different games in their rooms, sectors, floor data and items, the rest named in NotCompared.
// names gives each level's objects their names in its own game.
LevelDiff CompareLevels(const Level& oldLevel, Game oldGame, const Level& newLevel, Game newGame,
                        const ObjectNames& names);

// "added", "removed", "changed", "renumbered".
const char* KindWord(ChangeKind kind);

}  // namespace slab

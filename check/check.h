// What is wrong with a level, found before a game finds it: named checks over the loaded level,
// each finding at its place with one sentence giving the values that prove it. Without any
// toolkit, so the command line, the window and the tests share it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "level/game.h"
#include "level/level.h"

namespace slab {

// error: the game reads out of range or follows a reference to nothing (a crash or undefined
// behaviour). warning: the level loads, but play breaks or is very likely not what the designer
// meant. note: unusual but harmless data.
enum class Severity : uint8_t { Error, Warning, Note };
std::string_view SeverityName(Severity severity);  // "error", "warning", "note"

// Records a finding can stand at when it is not in a room or an item.
enum class Record : uint8_t {
  None,
  RoomRectangle,  // of Place::Room
  RoomTriangle,
  RoomSprite,
  Box,
  ObjectTexture,
  AnimatedTextures,
  SpriteSequence,
  Model,  // index into the moveables
  Mesh,   // index into the mesh pointers
  StaticMesh,
  Animation,
  StateChange,
  SoundMap,
  SoundDetail,
  SoundSource,
};

// Where a finding is: a room and maybe its sector, portal or placed static; an item; or a
// record of the level's lists. -1 where a part does not apply; sectors numbered from 0.
struct Place {
  int Room = -1;
  int SectorX = -1, SectorZ = -1;
  int Portal = -1;
  int Static = -1;  // index into the room's static meshes
  int Item = -1;
  Record What = Record::None;
  int Index = -1;  // of What
  bool HasSector() const { return SectorX >= 0 && SectorZ >= 0; }
  bool operator==(const Place&) const = default;
};
// "room 12, sector 3,4", "room 2, portal 1", "item 14", "box 7", "level".
std::string PlaceText(const Place& place);

struct Finding {
  std::string_view Check;  // the check's id, from CheckList()
  Severity Level = Severity::Note;
  Place Where;
  std::string Message;  // one sentence: "Room 12's portal 2 leads to room 230; ..."
};

struct CheckInfo {
  std::string_view Id;  // "portal-room"
  Severity Level;
  std::string_view Group;  // "Portals"
  std::string_view What;   // what it finds, one line
};
// Every check, in the order they run.
std::span<const CheckInfo> CheckList();

// Runs every check over the level. Findings come in the order of CheckList's groups, each
// group's in level order; every index is bounds-checked, whatever the level holds.
std::vector<Finding> CheckLevel(const Level& level, Game gameVersion);

struct SeverityCounts {
  int Errors = 0, Warnings = 0, Notes = 0;
};
SeverityCounts CountSeverities(std::span<const Finding> findings);
// "2 errors, 5 warnings", "1 error", "no problems": notes only when there is nothing else.
std::string CountsText(const SeverityCounts& counts);

// The errors of `now` that `before` did not have: by check and place, as many more as there
// are (an edit that adds a second bad action on a sector adds one).
std::vector<Finding> NewErrors(std::span<const Finding> before, std::span<const Finding> now);
// The question before a save that leaves such errors, naming the first.
std::string NewErrorsQuestion(std::span<const Finding> added);

}  // namespace slab

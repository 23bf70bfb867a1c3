// What the parts of a comparison share: both levels with their games, the names, and the
// pairing of the items, which the sectors need to tell a renumbered trigger action from a
// changed one.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "compare/align.h"
#include "compare/level_diff.h"

namespace slab::diff {

struct Context {
  const Level& Old;
  Game OldGame;
  const Level& New;
  Game NewGame;
  const ObjectNames& Names;
  bool SameGame = true;
  Pairing Items;                // the old level's items with the new level's
  bool ItemNumbersKept = true;  // every old item i is new item i
  bool SameFloorData = true;    // the floor-data words are equal
};

// The lines of one change and the short words of what they are about, each word once.
class Lines {
 public:
  void Add(std::string_view topic, std::string line);
  // "name a -> b" when they differ.
  void Field(std::string_view topic, std::string_view name, int64_t a, int64_t b);
  bool Empty() const { return details_.empty(); }
  std::string Summary() const;
  std::vector<std::string> TakeDetails() { return std::move(details_); }

 private:
  std::vector<std::string> topics_;
  std::vector<std::string> details_;
};

std::string Arrow(std::string_view a, std::string_view b);
std::string Arrow(int64_t a, int64_t b);
std::string Hex(uint32_t value, int digits);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);
// "(x, y, z)"
std::string Position(int64_t x, int64_t y, int64_t z);
// An object's type with its name in its level's game: "35 (Door)", or "35" without a name.
std::string TypeText(const Context& context, bool inNew, int objectId);
// A static mesh's id with its name: "10 (Plant)".
std::string StaticText(const Context& context, bool inNew, int staticId);

// "room 3, sector 1,4" for the change's room and sector; "room 3" when it has no sector.
std::string PlaceText(const Change& change);

// Sector (a, b) of a room holding a world position, or false when the room has no such sector.
bool SectorOf(const Level& level, int room, int64_t x, int64_t z, int& a, int& b);

// Each part adds its changes to out.
void CompareItems(Context& context, std::vector<Change>& out);
void CompareRooms(const Context& context, std::vector<Change>& out);
void CompareSectors(const Context& context, int room, std::vector<Change>& out);
void CompareSections(const Context& context, std::vector<SectionDiff>& out,
                     std::vector<std::string>& notes);
// The sections a comparison of levels of different games leaves out.
std::vector<std::string> SectionsNotCompared();

}  // namespace slab::diff

// The rows of the level-wide "Items" and "Triggers" lists and their filter, without any
// toolkit: the window shows the cell texts as they are, so what a filter matches is exactly
// what the user reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "floordata/object_names.h"
#include "floordata/walkers.h"
#include "level/level.h"
#include "map/map_state.h"

namespace slab {

// Columns of the items list. The Sector columns of both lists name a sector by its 0-based
// grid cell (SectorPlace), as every list does.
enum class ItemColumn { Index, ObjectID, Name, Room, Sector, X, Y, Z, OCB, Flags, Triggers };
inline constexpr int kItemColumnCount = 11;
// Columns of the triggers list.
enum class TriggerColumn { Room, Sector, Type, Action, Object };
inline constexpr int kTriggerColumnCount = 5;

const std::vector<std::string>& ItemColumnTitles();
const std::vector<std::string>& TriggerColumnTitles();

// One item or AI object, by its entity index: items first, then AI objects.
struct ItemRow {
  int Entity = 0;
  bool IsAI = false;
  int ObjectID = 0;
  int Room = 0;
  bool HasRoom = false;  // its room exists; SectorX and SectorZ mean something only then
  int SectorX = -1,
      SectorZ = -1;  // 0-based sector of its room nearest to it (may lie off the grid)
  int32_t X = 0, Y = 0, Z = 0;
  int OCB = 0;
  uint16_t Flags = 0;
  int Triggers = 0;                // sectors that trigger it (AI objects are never triggered)
  std::vector<std::string> Cells;  // one text per ItemColumn
  std::string Search;              // the cells in lower case, for the text filter
};

// One action of a trigger, in room order, then by x, then z, then the trigger list's order
// (as the triggers command lists them).
struct TriggerRow {
  int Room = 0;
  int X = 0, Z = 0;
  int Line = 0;  // its line in the sector panel's trigger list
  TriggerEntry Entry;
  int Item = -1;                   // the item an object or target action names, or -1
  std::vector<std::string> Cells;  // one text per TriggerColumn
  std::string Search;
};

// "0x3E00 (mask 11111, invisible, clear body)": the word, then what the item panel's check
// boxes show of it (an AI object's mask sits one bit up from bit 1, and it has no other box).
std::string ItemFlagsText(uint16_t flags, bool isAI);

// "12 Door", or "12" where the names give none.
std::string ObjectIdText(const ObjectNames& names, int objectId, Game gameVersion);

std::vector<ItemRow> BuildItemRows(const Level& level, Game gameVersion, const ObjectNames& names,
                                   const TriggerIndex& triggers);
std::vector<TriggerRow> BuildTriggerRows(const Level& level, Game gameVersion,
                                         const ObjectNames& names);

// What a list shows: rows whose cells hold Text (case-insensitive; empty matches all) and,
// unless Type is kAnyType, whose object id (items) or trigger type (triggers) is Type.
inline constexpr int kAnyType = -1;
struct ListFilter {
  std::string Text;
  int Type = kAnyType;
};

bool RowMatches(const ItemRow& row, const ListFilter& filter);
bool RowMatches(const TriggerRow& row, const ListFilter& filter);
// Indices of the rows that match, in order.
std::vector<int> MatchingRows(const std::vector<ItemRow>& rows, const ListFilter& filter);
std::vector<int> MatchingRows(const std::vector<TriggerRow>& rows, const ListFilter& filter);

// The choices of the type filter: each object id (items) or trigger type (triggers) present,
// in increasing order, with its text ("12 Door", "SWITCH").
struct TypeChoice {
  int Type = 0;
  std::string Text;
};
std::vector<TypeChoice> ItemTypeChoices(const std::vector<ItemRow>& rows);
std::vector<TypeChoice> TriggerTypeChoices(const std::vector<TriggerRow>& rows);

// ASCII lower case; level texts are ASCII.
std::string LowerText(std::string_view text);

}  // namespace slab

// The rows of every level-wide list (items, triggers, rooms, lights, cameras and sinks, static
// meshes, sound sources), each as the window and the command-line tool show it, with their
// filters and where a double-click goes. Without any toolkit: the window shows the cell texts
// as they are, so what a filter matches is exactly what the user reads.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
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


// Where going to a row leads: a room, a sector of it (0-based grid coordinates, -1 when the
// row stands on no sector of its room) and what to choose there. -1 where a row has none.
struct ListTarget {
  int Room = -1;
  int SectorX = -1, SectorZ = -1;
  int Entity = -1;  // an item or AI object, as the item panel numbers them
  int Static = -1;  // index into the room's static meshes
  int Light = -1;   // index into the room's lights
  int Camera = -1;  // index into the level's cameras
  bool HasSector() const { return SectorX >= 0 && SectorZ >= 0; }
  bool operator==(const ListTarget&) const = default;
};

struct ListRow {
  ListTarget Target;
  std::vector<std::string> Cells;  // one text per column
  std::string Search;              // the cells in lower case, for the text filter
};
// Fills Search from Cells once the row's cells are complete.
void FillRowSearch(ListRow& row);

enum class RoomColumn {
  Room,
  X,
  Z,
  Size,
  Floor,
  Ceiling,
  Flags,
  Alternate,
  Group,
  Items,
  Statics,
  Lights,
  Portals,
  TriggerSectors
};
enum class LightColumn { Index, Room, Sector, X, Y, Z, Kind, Colour, Reach };
enum class CameraColumn { Index, Kind, Room, Sector, X, Y, Z, Flags, Triggers };
enum class StaticColumn { Index, Room, Sector, X, Y, Z, ID, Name, Rotation };
enum class SoundColumn { Index, Room, Sector, X, Y, Z, Sample, Flags };

const std::vector<std::string>& RoomColumnTitles();
const std::vector<std::string>& LightColumnTitles();
const std::vector<std::string>& CameraColumnTitles();
const std::vector<std::string>& StaticColumnTitles();
const std::vector<std::string>& SoundColumnTitles();

struct RoomRow : ListRow {
  bool HasTriggers = false;
  bool Water = false;
  bool HasAlternate = false;
};

// A camera record serves as a camera, as a fixed camera (a trigger's camera action looks from
// it) or as a sink (an underwater current pulls towards it). A sink keeps the current's
// strength where a camera keeps its room, so its room is the one around its position.
enum class CameraKind { Camera, FixedCamera, Sink };
struct CameraRow : ListRow {
  CameraKind Kind = CameraKind::Camera;
  std::vector<TriggerLocation> UsedBy;  // sectors whose triggers name it, in room order
};

// One row per room, in room order.
std::vector<RoomRow> BuildRoomRows(const Level& level, Game gameVersion);
// One row per light of each room, in room order, then light order.
std::vector<ListRow> BuildLightRows(const Level& level, Game gameVersion);
// One row per camera record, in record order.
std::vector<CameraRow> BuildCameraRows(const Level& level);
// One row per static mesh placed in each room, in room order, then placement order.
std::vector<ListRow> BuildStaticRows(const Level& level, Game gameVersion,
                                     const ObjectNames& names);
// One row per sound source, in record order.
std::vector<ListRow> BuildSoundRows(const Level& level);

// The room flags as words ("water, sky"); bits without a word in that game as hex ("0x0040").
std::string RoomFlagsText(int16_t flags, Game gameVersion);
inline constexpr int16_t kRoomWater = 0x0001;

// The number of a room's alternate, or nothing: -1 and 255 both mean none.
std::optional<int> AlternateOf(const Room& room);

// The first room whose sectors and vertical extent hold the point, or -1.
int RoomAtPosition(const Level& level, int64_t x, int64_t y, int64_t z);

// Where the Items and Triggers lists' rows lead.
ListTarget RowTarget(const Level& level, const ItemRow& row);
ListTarget RowTarget(const TriggerRow& row);

// The rooms list's filter: the text as for every list, and each check box set keeps only the
// rooms that have it.
struct RoomFilter {
  std::string Text;
  bool HasTriggers = false;
  bool Water = false;
  bool HasAlternate = false;
};

// Indices of the rows whose cells hold the text (case-insensitive; empty matches all).
std::vector<int> MatchingRows(const std::vector<ListRow>& rows, std::string_view text);
std::vector<int> MatchingRows(const std::vector<CameraRow>& rows, std::string_view text);
std::vector<int> MatchingRows(const std::vector<RoomRow>& rows, const RoomFilter& filter);

// How a sortable column orders its texts: runs of digits by their value (with a minus sign
// before them), everything else by character, so "Item 9" comes before "Item 10" and "-2"
// before "1". Negative, zero or positive.
int CompareCells(std::string_view a, std::string_view b);
// Row indices ordered by one column, ties kept in list order.
template <typename Row>
std::vector<int> SortedRows(const std::vector<Row>& rows, int column, bool ascending);

// A list as a window's dock shows it: plain rows, and what its type box and check boxes filter
// by. Every list of the window is one of these, so one dock type shows them all.
struct ListRows {
  std::vector<ListRow> Rows;
  std::vector<int> Types;           // per row, what the type box filters by; empty without one
  std::vector<TypeChoice> Choices;  // the type box's choices
  std::vector<uint8_t> Marks;       // per row, the bits its check boxes keep; empty without
};
// The Rooms list's check boxes: each kept bit keeps only the rooms that have it.
inline constexpr uint8_t kRoomMarkTriggers = 1;
inline constexpr uint8_t kRoomMarkWater = 2;
inline constexpr uint8_t kRoomMarkAlternate = 4;

// Rows whose cells hold filter.Text (case-insensitive), whose type is filter.Type (unless any)
// and that have every bit of marks.
std::vector<int> MatchingRows(const ListRows& rows, const ListFilter& filter, uint8_t marks);

// The window's lists. The triggers list goes to the trigger's sector without choosing the item
// an action names (the item may stand elsewhere).
ListRows ItemListRows(const Level& level, Game gameVersion, const ObjectNames& names,
                      const TriggerIndex& triggers);
ListRows TriggerListRows(const Level& level, Game gameVersion, const ObjectNames& names);
ListRows RoomListRows(const Level& level, Game gameVersion);
// A list without type box or check boxes.
template <typename Row>
ListRows PlainListRows(std::vector<Row> rows) {
  ListRows list;
  for (Row& row : rows) list.Rows.push_back(std::move(static_cast<ListRow&>(row)));
  return list;
}

// Every list of a level by the name the command line gives it, as titles and plain rows.
enum class ListKind { Rooms, Lights, Cameras, Statics, Sounds, Items, Triggers };
struct ListKindName {
  ListKind Kind;
  const char* Name;
};
inline constexpr ListKindName kListKinds[] = {
    {ListKind::Rooms, "rooms"},      {ListKind::Lights, "lights"}, {ListKind::Cameras, "cameras"},
    {ListKind::Statics, "statics"},  {ListKind::Sounds, "sounds"}, {ListKind::Items, "items"},
    {ListKind::Triggers, "triggers"}};
std::optional<ListKind> ListKindFromName(std::string_view name);

struct LevelTable {
  std::vector<std::string> Titles;
  std::vector<ListRow> Rows;
};
LevelTable BuildLevelTable(const Level& level, Game gameVersion, const ObjectNames& names,
                           ListKind kind);

// Implementation of SortedRows for the row types above and the items and triggers lists.
template <typename Row>
std::vector<int> SortedRows(const std::vector<Row>& rows, int column, bool ascending) {
  std::vector<int> order(rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  auto cell = [&](int row) -> std::string_view {
    const auto& cells = rows[static_cast<size_t>(row)].Cells;
    return column >= 0 && static_cast<size_t>(column) < cells.size()
               ? std::string_view(cells[static_cast<size_t>(column)])
               : std::string_view();
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const int c = CompareCells(cell(a), cell(b));
    return ascending ? c < 0 : c > 0;
  });
  return order;
}

}  // namespace slab

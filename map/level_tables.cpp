#include "map/level_tables.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>

#include "floordata/sector_contents.h"
#include "floordata/sector_panel.h"
#include "floordata/walkers.h"
#include "level/text.h"
#include "map/entity.h"
#include "map/place_texts.h"
#include "map/table_rows.h"
#include "map/trigger_index.h"

namespace slab {
namespace {

constexpr std::string_view kFor = " for ";

template <typename Row>
void FillSearch(Row& row) {
  size_t size = 0;
  for (const std::string& cell : row.Cells) size += cell.size() + 1;
  row.Search.reserve(size);
  for (const std::string& cell : row.Cells) {
    // A line break never reaches a one-line filter box, so a match cannot span two cells.
    row.Search += LowerText(cell);
    row.Search += '\n';
  }
}

// needle is already in lower case.
bool TextMatches(const std::string& search, const std::string& needle) {
  return needle.empty() || search.find(needle) != std::string::npos;
}

bool TypeMatches(const ItemRow& row, int type) { return type == kAnyType || row.ObjectID == type; }
bool TypeMatches(const TriggerRow& row, int type) {
  return type == kAnyType || row.Entry.TriggerType == type;
}

template <typename Row>
std::vector<int> Matching(const std::vector<Row>& rows, const ListFilter& filter) {
  // The needle is lowered once, not once per row.
  const std::string needle = LowerText(filter.Text);
  std::vector<int> found;
  for (size_t i = 0; i < rows.size(); ++i)
    if (TypeMatches(rows[i], filter.Type) && TextMatches(rows[i].Search, needle))
      found.push_back(static_cast<int>(i));
  return found;
}

}  // namespace

std::string LowerText(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

const std::vector<std::string>& ItemColumnTitles() {
  static const std::vector<std::string> titles = {"Index", "ID", "Name", "Room",  "Sector",  "X",
                                                  "Y",     "Z",  "OCB",  "Flags", "Triggers"};
  return titles;
}

const std::vector<std::string>& TriggerColumnTitles() {
  static const std::vector<std::string> titles = {"Room", "Sector", "Type", "Action", "Object"};
  return titles;
}

std::string ItemFlagsText(uint16_t flags, bool isAI) {
  char word[8];
  std::snprintf(word, sizeof word, "0x%04X", static_cast<unsigned>(flags));
  std::string text = word;
  text += " (mask ";
  const int shift = isAI ? kAIMaskShift : kItemMaskShift;
  for (int i = 0; i < 5; ++i) text += (flags & (1 << (shift + i))) ? '1' : '0';
  if (!isAI && (flags & kItemInvisible)) text += ", invisible";
  if (!isAI && (flags & kItemClearBody)) text += ", clear body";
  text += ")";
  return text;
}

std::string ObjectIdText(const ObjectNames& names, int objectId, Game gameVersion) {
  std::string text = std::to_string(objectId);
  const auto name = ObjectName(names, objectId, gameVersion);
  if (name && !name->empty()) {
    text += ' ';
    text += *name;
  }
  return text;
}

std::vector<ItemRow> BuildItemRows(const Level& level, Game gameVersion, const ObjectNames& names,
                                   const TriggerIndex& triggers) {
  std::vector<ItemRow> rows;
  rows.reserve(level.Items.size() + level.AIObjects.size());
  const auto numItems = static_cast<int64_t>(level.Items.size());
  auto add = [&](int entity, bool isAI, int objectId, int room, int32_t x, int32_t y, int32_t z,
                 int ocb, uint16_t flags) {
    ItemRow row;
    row.Entity = entity;
    row.IsAI = isAI;
    row.ObjectID = objectId;
    row.Room = room;
    if (room >= 0 && static_cast<size_t>(room) < level.Rooms.size()) {
      const RoomInfo& info = level.Rooms[room].Info;
      row.HasRoom = true;
      row.SectorX = SectorOfPosition(x, info.X);
      row.SectorZ = SectorOfPosition(z, info.Z);
    }
    row.X = x, row.Y = y, row.Z = z;
    row.OCB = ocb;
    row.Flags = flags;
    if (!isAI && static_cast<size_t>(entity) < triggers.size())
      row.Triggers = static_cast<int>(triggers[entity].size());
    // The index reads as the sector panel's item list names the entity.
    const std::string index = isAI ? "AI" + NumText(entity - numItems) : "Item" + NumText(entity);
    const auto name = ObjectName(names, objectId, gameVersion);
    row.Cells = {index,
                 std::to_string(objectId),
                 name ? std::string(*name) : std::string(),
                 std::to_string(room),
                 row.HasRoom ? SectorPlace(row.SectorX, row.SectorZ) : "-",
                 std::to_string(x),
                 std::to_string(y),
                 std::to_string(z),
                 std::to_string(ocb),
                 ItemFlagsText(flags, isAI),
                 isAI ? std::string() : std::to_string(row.Triggers)};
    FillSearch(row);
    rows.push_back(std::move(row));
  };
  for (size_t i = 0; i < level.Items.size(); ++i) {
    const Item& item = level.Items[i];
    add(static_cast<int>(i), false, item.ObjectID, item.Room, item.X, item.Y, item.Z, item.OCB,
        item.Flags);
  }
  for (size_t k = 0; k < level.AIObjects.size(); ++k) {
    const AIObject& ai = level.AIObjects[k];
    add(static_cast<int>(numItems + static_cast<int64_t>(k)), true, ai.ObjectID, ai.Room, ai.X,
        ai.Y, ai.Z, ai.OCB, ai.Flags);
  }
  return rows;
}

std::vector<TriggerRow> BuildTriggerRows(const Level& level, Game gameVersion,
                                         const ObjectNames& names) {
  std::vector<TriggerRow> rows;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b) {
        if (!room.HasSector(a, b) || room.SectorAt(a, b).FDIndex == 0) continue;
        const auto entries = GetTriggerList(level, room.SectorAt(a, b).FDIndex);
        for (size_t line = 0; line < entries.size(); ++line) {
          const TriggerEntry& entry = entries[line];
          TriggerRow row;
          row.Room = static_cast<int>(r);
          row.X = a, row.Z = b;
          row.Line = static_cast<int>(line);
          row.Entry = entry;
          const bool namesItem = entry.Action == kActionObject || entry.Action == kActionTarget;
          if (namesItem && entry.Param >= 0 &&
              static_cast<size_t>(entry.Param) < level.Items.size())
            row.Item = entry.Param;
          // The panel's line "SWITCH for OBJECT 12 (Door)" gives the type and the action;
          // no type word holds " for ".
          const std::string text = TriggerLine(entry, level, gameVersion, names);
          const size_t cut = text.find(kFor);
          std::string type = cut == std::string::npos ? text : text.substr(0, cut);
          std::string action = cut == std::string::npos ? "" : text.substr(cut + kFor.size());
          row.Cells = {std::to_string(r), SectorPlace(a, b), std::move(type), std::move(action),
                       row.Item < 0
                           ? std::string()
                           : ObjectIdText(names, level.Items[row.Item].ObjectID, gameVersion)};
          FillSearch(row);
          rows.push_back(std::move(row));
        }
      }
  }
  return rows;
}

bool RowMatches(const ItemRow& row, const ListFilter& filter) {
  return TypeMatches(row, filter.Type) && TextMatches(row.Search, LowerText(filter.Text));
}

bool RowMatches(const TriggerRow& row, const ListFilter& filter) {
  return TypeMatches(row, filter.Type) && TextMatches(row.Search, LowerText(filter.Text));
}

std::vector<int> MatchingRows(const std::vector<ItemRow>& rows, const ListFilter& filter) {
  return Matching(rows, filter);
}

std::vector<int> MatchingRows(const std::vector<TriggerRow>& rows, const ListFilter& filter) {
  return Matching(rows, filter);
}

std::vector<TypeChoice> ItemTypeChoices(const std::vector<ItemRow>& rows) {
  std::map<int, std::string> found;
  for (const ItemRow& row : rows)
    if (!found.count(row.ObjectID)) {
      std::string text = row.Cells[static_cast<int>(ItemColumn::ObjectID)];
      const std::string& name = row.Cells[static_cast<int>(ItemColumn::Name)];
      if (!name.empty()) text += " " + name;
      found.emplace(row.ObjectID, std::move(text));
    }
  std::vector<TypeChoice> choices;
  for (auto& [type, text] : found) choices.push_back({type, std::move(text)});
  return choices;
}

std::vector<TypeChoice> TriggerTypeChoices(const std::vector<TriggerRow>& rows) {
  std::map<int, std::string> found;
  for (const TriggerRow& row : rows)
    found.emplace(row.Entry.TriggerType, row.Cells[static_cast<int>(TriggerColumn::Type)]);
  std::vector<TypeChoice> choices;
  for (auto& [type, text] : found) choices.push_back({type, std::move(text)});
  return choices;
}


namespace table_rows {

ListTarget TargetAt(const Level& level, int room, int64_t x, int64_t z) {
  ListTarget target;
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return target;
  target.Room = room;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  const int a = SectorOfPosition(x, r.Info.X), b = SectorOfPosition(z, r.Info.Z);
  if (r.HasSector(a, b)) {
    target.SectorX = a;
    target.SectorZ = b;
  }
  return target;
}

std::string SectorCell(const ListTarget& target) {
  return target.HasSector() ? SectorPlace(target.SectorX, target.SectorZ) : "-";
}

std::string RoomCell(int room) { return room < 0 ? "-" : std::to_string(room); }

std::string FloatText(double value) {
  char text[48];
  // Damaged files may hold any float: huge ones in exponent form.
  const bool plain = std::isfinite(value) && std::abs(value) < 1e15;
  std::snprintf(text, sizeof text, plain ? "%.2f" : "%g", value);
  if (!plain) return text;
  std::string s = text;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

}  // namespace table_rows

namespace {

using table_rows::RoomCell;
using table_rows::SectorCell;
using table_rows::TargetAt;

template <typename Row>
std::vector<int> MatchingText(const std::vector<Row>& rows, std::string_view text) {
  const std::string needle = LowerText(text);
  std::vector<int> found;
  for (size_t i = 0; i < rows.size(); ++i)
    if (TextMatches(rows[i].Search, needle)) found.push_back(static_cast<int>(i));
  return found;
}

std::string Hex16(uint16_t word) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(word));
  return text;
}

// Sectors from the level's origin; rooms start on sector boundaries.
std::string SectorsText(int32_t units) {
  return table_rows::FloatText(static_cast<double>(units) / kSectorUnits);
}

// A height in units as signed clicks, the game's Y running down.
std::string ClicksText(int32_t units) { return table_rows::FloatText(units / 256.0); }

struct FlagWord {
  uint16_t Bit;
  const char* Word;
  Game From;  // the first game that has it
  Game To;    // the last
};

// The room flags the games agree on by name; the rest are shown as hex.
constexpr FlagWord kRoomFlagWords[] = {
    {0x0001, "water", Game::TR1, Game::TR5},
    {0x0008, "sky", Game::TR2, Game::TR5},
    {0x0020, "outside", Game::TR2, Game::TR5},
    {0x0080, "quicksand", Game::TR3, Game::TR3},
};

}  // namespace

void FillRowSearch(ListRow& row) {
  row.Search.clear();
  FillSearch(row);
}

const std::vector<std::string>& RoomColumnTitles() {
  static const std::vector<std::string> titles = {
      "Room",      "X",     "Z",     "Size",    "Floor",  "Ceiling", "Flags",
      "Alternate", "Group", "Items", "Statics", "Lights", "Portals", "Trigger sectors"};
  return titles;
}

const std::vector<std::string>& StaticColumnTitles() {
  static const std::vector<std::string> titles = {"Index", "Room", "Sector", "X",       "Y",
                                                  "Z",     "ID",   "Name",   "Rotation"};
  return titles;
}

const std::vector<std::string>& SoundColumnTitles() {
  static const std::vector<std::string> titles = {"Index", "Room", "Sector", "X",
                                                  "Y",     "Z",    "Sample", "Flags"};
  return titles;
}

std::string RoomFlagsText(int16_t flags, Game gameVersion) {
  std::string text;
  auto add = [&](const std::string& word) { text += (text.empty() ? "" : ", ") + word; };
  uint16_t rest = static_cast<uint16_t>(flags);
  for (const FlagWord& f : kRoomFlagWords)
    if ((rest & f.Bit) && gameVersion >= f.From && gameVersion <= f.To) {
      add(f.Word);
      rest = static_cast<uint16_t>(rest & ~f.Bit);
    }
  for (int bit = 0; bit < 16; ++bit)
    if (rest & (1u << bit)) add(Hex16(static_cast<uint16_t>(1u << bit)));
  return text;
}

std::optional<int> AlternateOf(const Room& room) {
  if (room.AlternateRoom < 0 || room.AlternateRoom == kNoRoom) return std::nullopt;
  return room.AlternateRoom;
}

int RoomAtPosition(const Level& level, int64_t x, int64_t y, int64_t z) {
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    const int64_t dx = x - room.Info.X, dz = z - room.Info.Z;
    if (dx >= 0 && dz >= 0 && dx < int64_t{kSectorUnits} * room.NumXSectors &&
        dz < int64_t{kSectorUnits} * room.NumZSectors && y >= room.Info.YTop &&
        y <= room.Info.YBottom)
      return static_cast<int>(r);
  }
  return -1;
}

std::vector<RoomRow> BuildRoomRows(const Level& level, Game gameVersion) {
  std::vector<RoomRow> rows;
  rows.reserve(level.Rooms.size());
  std::vector<int> items(level.Rooms.size(), 0);
  auto countItem = [&](int room) {
    if (room >= 0 && static_cast<size_t>(room) < items.size()) ++items[static_cast<size_t>(room)];
  };
  for (const Item& item : level.Items) countItem(item.Room);
  for (const AIObject& ai : level.AIObjects) countItem(ai.Room);
  // The third game on keeps the flip group; earlier games have none.
  const bool groups = gameVersion >= Game::TR3 && gameVersion <= Game::TR5;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    int triggerSectors = 0;
    for (const Sector& sector : room.Sectors)
      if (sector.FDIndex != 0 && GetFirstTrigger(level, sector.FDIndex) != kNoTrigger)
        ++triggerSectors;
    const auto alternate = AlternateOf(room);
    RoomRow row;
    row.Target.Room = static_cast<int>(r);
    row.HasTriggers = triggerSectors > 0;
    row.Water = (room.Flags & kRoomWater) != 0;
    row.HasAlternate = alternate.has_value();
    row.Cells = {std::to_string(r),
                 SectorsText(room.Info.X),
                 SectorsText(room.Info.Z),
                 std::to_string(room.NumXSectors) + " x " + std::to_string(room.NumZSectors),
                 ClicksText(room.Info.YBottom),
                 ClicksText(room.Info.YTop),
                 RoomFlagsText(room.Flags, gameVersion),
                 alternate ? std::to_string(*alternate) : "-",
                 groups && alternate ? std::to_string(room.AlternateGroup) : "-",
                 std::to_string(items[r]),
                 std::to_string(room.StaticMeshes.size()),
                 std::to_string(room.Lights.size()),
                 std::to_string(room.Portals.size()),
                 std::to_string(triggerSectors)};
    FillRowSearch(row);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<ListRow> BuildStaticRows(const Level& level, Game gameVersion,
                                     const ObjectNames& names) {
  std::vector<ListRow> rows;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const auto& statics = level.Rooms[r].StaticMeshes;
    for (size_t i = 0; i < statics.size(); ++i) {
      const RoomStatic& s = statics[i];
      ListRow row;
      row.Target = TargetAt(level, static_cast<int>(r), s.X, s.Z);
      row.Target.Static = static_cast<int>(i);
      row.Cells = {std::to_string(i),          std::to_string(r),
                   SectorCell(row.Target),     std::to_string(s.X),
                   std::to_string(s.Y),        std::to_string(s.Z),
                   std::to_string(s.ObjectID), StaticName(names, s.ObjectID, gameVersion),
                   DegreesText(s.Rotation)};
      FillRowSearch(row);
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

std::vector<ListRow> BuildSoundRows(const Level& level) {
  std::vector<ListRow> rows;
  rows.reserve(level.SoundSources.size());
  for (size_t i = 0; i < level.SoundSources.size(); ++i) {
    const SoundSource& s = level.SoundSources[i];
    ListRow row;
    // A sound source names no room: it plays where it stands.
    const int room = RoomAtPosition(level, s.X, s.Y, s.Z);
    row.Target = TargetAt(level, room, s.X, s.Z);
    row.Cells = {std::to_string(i),         RoomCell(room),      SectorCell(row.Target),
                 std::to_string(s.X),       std::to_string(s.Y), std::to_string(s.Z),
                 std::to_string(s.SoundID), Hex16(s.Flags)};
    FillRowSearch(row);
    rows.push_back(std::move(row));
  }
  return rows;
}

ListTarget RowTarget(const Level& level, const ItemRow& row) {
  ListTarget target;
  if (row.HasRoom) {
    target.Room = row.Room;
    const Room& room = level.Rooms[static_cast<size_t>(row.Room)];
    if (room.HasSector(row.SectorX, row.SectorZ)) {
      target.SectorX = row.SectorX;
      target.SectorZ = row.SectorZ;
    }
  }
  target.Entity = row.Entity;
  return target;
}

ListTarget RowTarget(const TriggerRow& row) {
  ListTarget target;
  target.Room = row.Room;
  target.SectorX = row.X;
  target.SectorZ = row.Z;
  target.Entity = row.Item;
  return target;
}

std::vector<int> MatchingRows(const std::vector<ListRow>& rows, std::string_view text) {
  return MatchingText(rows, text);
}

std::vector<int> MatchingRows(const std::vector<CameraRow>& rows, std::string_view text) {
  return MatchingText(rows, text);
}

std::vector<int> MatchingRows(const std::vector<RoomRow>& rows, const RoomFilter& filter) {
  const std::string needle = LowerText(filter.Text);
  std::vector<int> found;
  for (size_t i = 0; i < rows.size(); ++i) {
    const RoomRow& row = rows[i];
    if ((filter.HasTriggers && !row.HasTriggers) || (filter.Water && !row.Water) ||
        (filter.HasAlternate && !row.HasAlternate))
      continue;
    if (TextMatches(row.Search, needle)) found.push_back(static_cast<int>(i));
  }
  return found;
}

int CompareCells(std::string_view a, std::string_view b) {
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  // A minus sign counts as one when a number follows and no letter or digit stands before it.
  auto negativeAt = [&](std::string_view s, size_t i) {
    return s[i] == '-' && i + 1 < s.size() && isDigit(s[i + 1]) &&
           (i == 0 || !std::isalnum(static_cast<unsigned char>(s[i - 1])));
  };
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool numA = isDigit(a[i]) || negativeAt(a, i);
    const bool numB = isDigit(b[j]) || negativeAt(b, j);
    if (numA && numB) {
      bool negA = a[i] == '-', negB = b[j] == '-';
      i += negA, j += negB;
      size_t endA = i, endB = j;
      while (endA < a.size() && isDigit(a[endA])) ++endA;
      while (endB < b.size() && isDigit(b[endB])) ++endB;
      // Leading zeros aside, the longer run of digits is the larger number.
      std::string_view da = a.substr(i, endA - i), db = b.substr(j, endB - j);
      while (da.size() > 1 && da[0] == '0') da.remove_prefix(1);
      while (db.size() > 1 && db[0] == '0') db.remove_prefix(1);
      if (da == "0") negA = false;
      if (db == "0") negB = false;
      if (negA != negB) return negA ? -1 : 1;
      int c = da.size() != db.size() ? (da.size() < db.size() ? -1 : 1) : da.compare(db);
      c = c < 0 ? -1 : (c > 0 ? 1 : 0);
      if (negA) c = -c;
      if (c != 0) return c;
      i = endA, j = endB;
      continue;
    }
    if (a[i] != b[j])
      return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
    ++i, ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::optional<ListKind> ListKindFromName(std::string_view name) {
  for (const ListKindName& k : kListKinds)
    if (name == k.Name) return k.Kind;
  return std::nullopt;
}

LevelTable BuildLevelTable(const Level& level, Game gameVersion, const ObjectNames& names,
                           ListKind kind) {
  LevelTable table;
  auto take = [&](const std::vector<std::string>& titles, auto&& rows) {
    table.Titles = titles;
    table.Rows.reserve(rows.size());
    for (auto& row : rows) table.Rows.push_back(std::move(static_cast<ListRow&>(row)));
  };
  switch (kind) {
    case ListKind::Rooms:
      take(RoomColumnTitles(), BuildRoomRows(level, gameVersion));
      break;
    case ListKind::Lights:
      take(LightColumnTitles(), BuildLightRows(level, gameVersion));
      break;
    case ListKind::Cameras:
      take(CameraColumnTitles(), BuildCameraRows(level));
      break;
    case ListKind::Statics:
      take(StaticColumnTitles(), BuildStaticRows(level, gameVersion, names));
      break;
    case ListKind::Sounds:
      take(SoundColumnTitles(), BuildSoundRows(level));
      break;
    case ListKind::Items: {
      table.Titles = ItemColumnTitles();
      for (ItemRow& item : BuildItemRows(level, gameVersion, names, BuildTriggerIndex(level))) {
        ListRow row;
        row.Target = RowTarget(level, item);
        row.Cells = std::move(item.Cells);
        row.Search = std::move(item.Search);
        table.Rows.push_back(std::move(row));
      }
      break;
    }
    case ListKind::Triggers:
      table.Titles = TriggerColumnTitles();
      for (TriggerRow& trigger : BuildTriggerRows(level, gameVersion, names)) {
        ListRow row;
        row.Target = RowTarget(trigger);
        row.Cells = std::move(trigger.Cells);
        row.Search = std::move(trigger.Search);
        table.Rows.push_back(std::move(row));
      }
      break;
  }
  return table;
}

std::vector<int> MatchingRows(const ListRows& rows, const ListFilter& filter, uint8_t marks) {
  const std::string needle = LowerText(filter.Text);
  std::vector<int> found;
  for (size_t i = 0; i < rows.Rows.size(); ++i) {
    if (filter.Type != kAnyType && (i >= rows.Types.size() || rows.Types[i] != filter.Type))
      continue;
    const uint8_t has = i < rows.Marks.size() ? rows.Marks[i] : 0;
    if ((has & marks) != marks) continue;
    if (TextMatches(rows.Rows[i].Search, needle)) found.push_back(static_cast<int>(i));
  }
  return found;
}

ListRows ItemListRows(const Level& level, Game gameVersion, const ObjectNames& names,
                      const TriggerIndex& triggers) {
  std::vector<ItemRow> items = BuildItemRows(level, gameVersion, names, triggers);
  ListRows list;
  list.Choices = ItemTypeChoices(items);
  for (ItemRow& item : items) {
    ListRow row;
    row.Target = RowTarget(level, item);
    row.Cells = std::move(item.Cells);
    row.Search = std::move(item.Search);
    list.Rows.push_back(std::move(row));
    list.Types.push_back(item.ObjectID);
  }
  return list;
}

ListRows TriggerListRows(const Level& level, Game gameVersion, const ObjectNames& names) {
  std::vector<TriggerRow> triggers = BuildTriggerRows(level, gameVersion, names);
  ListRows list;
  list.Choices = TriggerTypeChoices(triggers);
  for (TriggerRow& trigger : triggers) {
    ListRow row;
    row.Target = RowTarget(trigger);
    row.Target.Entity = -1;
    row.Cells = std::move(trigger.Cells);
    row.Search = std::move(trigger.Search);
    list.Rows.push_back(std::move(row));
    list.Types.push_back(trigger.Entry.TriggerType);
  }
  return list;
}

ListRows RoomListRows(const Level& level, Game gameVersion) {
  std::vector<RoomRow> rooms = BuildRoomRows(level, gameVersion);
  ListRows list;
  for (RoomRow& room : rooms) {
    list.Marks.push_back(static_cast<uint8_t>((room.HasTriggers ? kRoomMarkTriggers : 0) |
                                              (room.Water ? kRoomMarkWater : 0) |
                                              (room.HasAlternate ? kRoomMarkAlternate : 0)));
    list.Rows.push_back(std::move(static_cast<ListRow&>(room)));
  }
  return list;
}

}  // namespace slab

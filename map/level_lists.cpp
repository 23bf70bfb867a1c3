#include "map/level_lists.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "floordata/sector_contents.h"
#include "floordata/sector_panel.h"
#include "level/text.h"
#include "map/entity.h"

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

}  // namespace slab

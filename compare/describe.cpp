#include <algorithm>
#include <cstdio>

#include "compare/diff_context.h"
#include "floordata/sector_contents.h"
#include "level/text.h"

namespace slab::diff {

void Lines::Add(std::string_view topic, std::string line) {
  if (std::find(topics_.begin(), topics_.end(), topic) == topics_.end())
    topics_.emplace_back(topic);
  details_.push_back(std::move(line));
}

void Lines::Field(std::string_view topic, std::string_view name, int64_t a, int64_t b) {
  if (a != b) Add(topic, std::string(name) + " " + Arrow(a, b));
}

std::string Lines::Summary() const { return Join(topics_, ", "); }

std::string Arrow(std::string_view a, std::string_view b) {
  return std::string(a) + " -> " + std::string(b);
}

std::string Arrow(int64_t a, int64_t b) { return Arrow(std::to_string(a), std::to_string(b)); }

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string joined;
  for (const std::string& part : parts) {
    if (!joined.empty()) joined += separator;
    joined += part;
  }
  return joined;
}

std::string Position(int64_t x, int64_t y, int64_t z) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(z) + ")";
}

std::string TypeText(const Context& context, bool inNew, int objectId) {
  const auto name = ObjectName(context.Names, objectId, inNew ? context.NewGame : context.OldGame);
  std::string text = std::to_string(objectId);
  if (name && !name->empty()) text += " (" + std::string(*name) + ")";
  return text;
}

std::string StaticText(const Context& context, bool inNew, int staticId) {
  return std::to_string(staticId) + " (" +
         StaticName(context.Names, staticId, inNew ? context.NewGame : context.OldGame) + ")";
}

std::string PlaceText(const Change& change) {
  std::string text = "room " + std::to_string(change.Room);
  if (change.A >= 0 && change.B >= 0) text += ", sector " + SectorPlace(change.A, change.B);
  return text;
}

bool SectorOf(const Level& level, int room, int64_t x, int64_t z, int& a, int& b) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return false;
  const Room& r = level.Rooms[room];
  a = SectorOfPosition(x, r.Info.X);
  b = SectorOfPosition(z, r.Info.Z);
  return r.HasSector(a, b);
}

}  // namespace slab::diff

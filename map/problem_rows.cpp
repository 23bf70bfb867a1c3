#include "map/problem_rows.h"

#include <algorithm>
#include <numeric>

#include "map/table_rows.h"

namespace slab {
namespace {

// Where going to a finding leads: its sector, or the place of its item or static mesh.
ListTarget ProblemTarget(const Level& level, const Place& p) {
  ListTarget target;
  if (p.Item >= 0 && static_cast<size_t>(p.Item) < level.Items.size()) {
    const Item& item = level.Items[static_cast<size_t>(p.Item)];
    target = table_rows::TargetAt(level, item.Room, item.X, item.Z);
    target.Entity = p.Item;
    return target;
  }
  if (p.Room < 0 || static_cast<size_t>(p.Room) >= level.Rooms.size()) return target;
  const Room& room = level.Rooms[static_cast<size_t>(p.Room)];
  if (p.Static >= 0 && static_cast<size_t>(p.Static) < room.StaticMeshes.size()) {
    const RoomStatic& s = room.StaticMeshes[static_cast<size_t>(p.Static)];
    target = table_rows::TargetAt(level, p.Room, s.X, s.Z);
    target.Static = p.Static;
    return target;
  }
  target.Room = p.Room;
  if (room.HasSector(p.SectorX, p.SectorZ)) {
    target.SectorX = p.SectorX;
    target.SectorZ = p.SectorZ;
  }
  return target;
}

}  // namespace

const std::vector<std::string>& ProblemColumnTitles() {
  static const std::vector<std::string> titles = {"Severity", "Check", "Place", "Message"};
  return titles;
}

ListRows ProblemListRows(const Level& level, std::span<const Finding> findings) {
  std::vector<size_t> order(findings.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return findings[a].Level < findings[b].Level; });
  ListRows list;
  bool present[3] = {};
  for (size_t i : order) {
    const Finding& f = findings[i];
    ListRow row;
    row.Target = ProblemTarget(level, f.Where);
    row.Cells = {std::string(SeverityName(f.Level)), std::string(f.Check), PlaceText(f.Where),
                 f.Message};
    FillRowSearch(row);
    list.Rows.push_back(std::move(row));
    list.Types.push_back(static_cast<int>(f.Level));
    present[static_cast<int>(f.Level)] = true;
  }
  const char* const words[] = {"Errors", "Warnings", "Notes"};
  for (int s = 0; s < 3; ++s)
    if (present[s]) list.Choices.push_back({s, words[s]});
  return list;
}

}  // namespace slab

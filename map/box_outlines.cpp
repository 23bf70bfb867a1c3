#include "map/box_outlines.h"

#include <algorithm>

#include "map/draw_room.h"
#include "map/sector_tooltip.h"
#include "map/selection.h"

namespace slab {
namespace {

constexpr uint16_t kNoBoxBits = 0x3FF0;  // the number bits the map's colour rule tests
constexpr uint16_t kOverlapStart = 0x3FFF;
constexpr uint16_t kLastOverlap = 0x8000;

}  // namespace

int SectorBoxIndex(const Level& level, Game gameVersion, const Sector& sector) {
  int box = 0;
  if (gameVersion == Game::TR1 || gameVersion == Game::TR2) {
    box = sector.BoxIndex;
  } else {
    if ((sector.BoxIndex & kNoBoxBits) == kNoBoxBits) return -1;
    box = sector.BoxIndex / 16;
  }
  return static_cast<size_t>(box) < level.Boxes.size() ? box : -1;
}

bool BoxBlocked(const Box& box) { return box.OverlapIndex < 0; }

std::vector<int> BoxOverlaps(const Level& level, int box) {
  std::vector<int> found;
  if (box < 0 || static_cast<size_t>(box) >= level.Boxes.size()) return found;
  const auto& overlaps = level.Overlaps;
  for (size_t k = static_cast<uint16_t>(level.Boxes[static_cast<size_t>(box)].OverlapIndex) &
                  kOverlapStart;
       k < overlaps.size(); ++k) {
    const auto word = static_cast<uint16_t>(overlaps[k]);
    found.push_back(word & 0x7FFF);
    if (word & kLastOverlap) break;
  }
  return found;
}

RoomBoxes BuildRoomBoxes(const Level& level, Game gameVersion, int room) {
  RoomBoxes boxes;
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return boxes;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  boxes.NumA = std::max<int>(r.NumXSectors, 0);
  boxes.NumB = std::max<int>(r.NumZSectors, 0);
  boxes.Sectors.resize(static_cast<size_t>(boxes.NumA) * boxes.NumB);
  for (int a = 0; a < boxes.NumA; ++a)
    for (int b = 0; b < boxes.NumB; ++b) {
      if (!r.HasSector(a, b)) continue;
      SectorBox& s = boxes.Sectors[static_cast<size_t>(a) * boxes.NumB + b];
      s.Box = SectorBoxIndex(level, gameVersion, r.SectorAt(a, b));
      if (s.Box >= 0) s.Blocked = BoxBlocked(level.Boxes[static_cast<size_t>(s.Box)]);
    }
  auto boxAt = [&](int a, int b) {
    return a >= 0 && b >= 0 && a < boxes.NumA && b < boxes.NumB ? boxes.At(a, b).Box : -1;
  };
  for (int a = 0; a < boxes.NumA; ++a)
    for (int b = 0; b < boxes.NumB; ++b) {
      SectorBox& s = boxes.Sectors[static_cast<size_t>(a) * boxes.NumB + b];
      if (s.Box < 0) continue;
      if (boxAt(a - 1, b) != s.Box) s.Edges |= kBoxEdgeUp;
      if (boxAt(a + 1, b) != s.Box) s.Edges |= kBoxEdgeDown;
      if (boxAt(a, b - 1) != s.Box) s.Edges |= kBoxEdgeLeft;
      if (boxAt(a, b + 1) != s.Box) s.Edges |= kBoxEdgeRight;
    }
  return boxes;
}

void DrawBoxOutlines(MapImage& image, const RoomBoxes& boxes) {
  image.SetOutlineColour(kBoxOutlineColour);
  const int numA = std::min(boxes.NumA, kMaxMapSectors),
            numB = std::min(boxes.NumB, kMaxMapSectors);
  for (int a = 0; a < numA; ++a)
    for (int b = 0; b < numB; ++b) {
      const SectorBox& s = boxes.At(a, b);
      if (s.Box < 0) continue;
      // A sector's square runs from one outline pixel before it to the next sector's.
      const int left = kSectorPixels * b - 1, right = left + kSectorPixels;
      const int top = kSectorPixels * a - 1, bottom = top + kSectorPixels;
      if (s.Edges & kBoxEdgeUp) image.DrawLine(left, top, right, top);
      if (s.Edges & kBoxEdgeDown) image.DrawLine(left, bottom, right, bottom);
      if (s.Edges & kBoxEdgeLeft) image.DrawLine(left, top, left, bottom);
      if (s.Edges & kBoxEdgeRight) image.DrawLine(right, top, right, bottom);
      if (s.Blocked) image.DrawLine(left + 1, top + 1, right - 1, bottom - 1);
    }
}

MapImage MapWithBoxes(const Level& level, Game gameVersion, const MapState& state) {
  MapState drawn;
  drawn.Map = state.Map;
  DrawBoxOutlines(drawn.Map, BuildRoomBoxes(level, gameVersion, state.CurrentRoom));
  if (!state.SectorSelected) return drawn.Map;
  drawn.SelectedSectorX = state.SelectedSectorX;
  drawn.SelectedSectorZ = state.SelectedSectorZ;
  DrawSelection(drawn);
  return drawn.Shown;
}

std::string BoxText(const Level& level, Game gameVersion, int room, int a, int b) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return "No box";
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  if (!r.HasSector(a, b)) return "No box";
  const int box = SectorBoxIndex(level, gameVersion, r.SectorAt(a, b));
  if (box < 0) return "No box";
  std::string text = "Box " + std::to_string(box);
  if (BoxBlocked(level.Boxes[static_cast<size_t>(box)])) text += " (blocked)";
  const std::vector<int> overlaps = BoxOverlaps(level, box);
  text += ", overlaps ";
  if (overlaps.empty()) return text + "none";
  for (size_t i = 0; i < overlaps.size(); ++i)
    text += (i ? ", " : "") + std::to_string(overlaps[i]);
  return text;
}

std::string MapTooltip(const Document& doc, const MapState& state, const ObjectNames& names, int x,
                       int y, bool boxesShown) {
  // The table numbers sectors from 1; 0 is outside the room.
  const int a = state.Table.XAt(x, y), b = state.Table.ZAt(x, y);
  if (!doc.LevelLoaded || a == 0 || b == 0) return {};
  const Level& level = doc.CurrentLevel;
  std::string text = SectorTooltip(level, doc.GameVersion, names, state.CurrentRoom, a - 1, b - 1);
  if (!text.empty() && boxesShown)
    text += "\n" + BoxText(level, doc.GameVersion, state.CurrentRoom, a - 1, b - 1);
  return text;
}

}  // namespace slab

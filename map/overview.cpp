#include "map/overview.h"

#include <algorithm>

namespace slab {
namespace {

// One inner sector of a room falling on a cell.
struct Layer {
  int Room = -1;
  int Height = 0;      // the floor, growing upwards
  bool Floor = false;  // one can stand on it: not a wall, no room below it
};

// The floor byte as a height that grows upwards: bytes above 129 are negative clicks.
int FloorHeightUp(uint8_t floor) { return -(floor > 129 ? floor - 256 : floor); }

Rgb CellColour(const Level& level, int cellRoom, int selectedRoom) {
  if (cellRoom == selectedRoom) return overview_colour::kSelected;
  if (selectedRoom < 0 || static_cast<size_t>(selectedRoom) >= level.Rooms.size())
    return overview_colour::kOther;
  const RoomInfo& cell = level.Rooms[cellRoom].Info;
  const RoomInfo& selected = level.Rooms[selectedRoom].Info;
  if (cell.YTop < selected.YBottom) return overview_colour::kAbove;
  if (cell.YBottom > selected.YTop) return overview_colour::kBelow;
  return overview_colour::kOther;
}

size_t CellIndex(int cx, int cz) { return static_cast<size_t>(cx) * kOverviewCells + cz; }

// A room's sector on a cell joins the cell's layers; a room seen through several of its own
// sectors there counts once, by its best one.
void AddLayer(std::vector<Layer>& layers, int room, const Sector& sector) {
  const bool solid = sector.Floor == kWallMarker || sector.Floor == sector.Ceiling;
  const Layer layer{room, FloorHeightUp(sector.Floor), !solid && sector.RoomBelow == kNoRoom};
  const auto same =
      std::find_if(layers.begin(), layers.end(), [&](const Layer& l) { return l.Room == room; });
  if (same == layers.end())
    layers.push_back(layer);
  else if (layer.Floor > same->Floor || (layer.Floor == same->Floor && layer.Height < same->Height))
    *same = layer;
}

// The order a cell's rooms are shown and picked in: floors one can stand on before what hides
// nothing (a sector open onto the room below, a wall), and lowest first, as a plan shows the
// ground floor: a large room high up would otherwise cover every room under it. Repeated
// clicks climb through the rest.
void SortLayers(std::vector<Layer>& layers) {
  std::stable_sort(layers.begin(), layers.end(), [](const Layer& a, const Layer& b) {
    if (a.Floor != b.Floor) return a.Floor;
    return a.Height < b.Height;
  });
}

// The inner sector of room r on cell (cx, cz), if it has one there.
const Sector* InnerSectorOn(const Room& room, int cx, int cz) {
  const int x = cx - room.Info.X / kSectorUnits, z = cz - room.Info.Z / kSectorUnits;
  if (x < 1 || z < 1 || x > room.NumXSectors - 2 || z > room.NumZSectors - 2) return nullptr;
  return room.HasSector(x, z) ? &room.SectorAt(x, z) : nullptr;
}

// Every cell's layers in that order.
std::vector<std::vector<Layer>> OverviewLayers(const Level& level) {
  std::vector<std::vector<Layer>> grid(kOverviewCells * kOverviewCells);
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    const int baseX = room.Info.X / kSectorUnits, baseZ = room.Info.Z / kSectorUnits;
    for (int x = 1; x <= room.NumXSectors - 2; ++x) {
      for (int z = 1; z <= room.NumZSectors - 2; ++z) {
        if (!room.HasSector(x, z)) continue;
        const int cx = baseX + x, cz = baseZ + z;
        // Rooms placed beyond the grid are left out rather than wrapped onto it.
        if (cx < 1 || cz < 1 || cx >= kOverviewCells || cz >= kOverviewCells) continue;
        AddLayer(grid[CellIndex(cx, cz)], static_cast<int>(r), room.SectorAt(x, z));
      }
    }
  }
  for (std::vector<Layer>& layers : grid) SortLayers(layers);
  return grid;
}

// The room drawn on each cell: the selected room where it has a sector, else the first layer.
std::vector<int> DrawnRooms(const std::vector<std::vector<Layer>>& layers, int selectedRoom) {
  std::vector<int> drawn(layers.size(), -1);
  for (size_t i = 0; i < layers.size(); ++i) {
    if (layers[i].empty()) continue;
    drawn[i] = layers[i].front().Room;
    for (const Layer& layer : layers[i])
      if (layer.Room == selectedRoom) drawn[i] = selectedRoom;
  }
  return drawn;
}

bool CellOf(int x, int y, int& cx, int& cz) {
  if (x < 0 || y < 0 || x >= kOverviewSize || y >= kOverviewSize) return false;
  // The inverse of the drawing's placement: columns are cz, rows are cx.
  cx = y / kOverviewCellPixels, cz = x / kOverviewCellPixels;
  return cx >= 1 && cz >= 1;
}

}  // namespace

std::vector<int> OverviewStack(const Level& level, int x, int y) {
  int cx = 0, cz = 0;
  if (!CellOf(x, y, cx, cz)) return {};
  if (cx >= kOverviewCells || cz >= kOverviewCells) return {};
  // One cell's rooms alone: a click does not need the whole grid.
  std::vector<Layer> layers;
  for (size_t r = 0; r < level.Rooms.size(); ++r)
    if (const Sector* sector = InnerSectorOn(level.Rooms[r], cx, cz))
      AddLayer(layers, static_cast<int>(r), *sector);
  SortLayers(layers);
  std::vector<int> rooms;
  for (const Layer& layer : layers) rooms.push_back(layer.Room);
  return rooms;
}

MapImage DrawLevelOverview(const Level& level, int selectedRoom) {
  const std::vector<int> drawn = DrawnRooms(OverviewLayers(level), selectedRoom);
  MapImage image(kOverviewSize, kOverviewSize);
  image.Fill(overview_colour::kBackground);
  const auto roomAt = [&](int cx, int cz) {
    if (cx < 0 || cz < 0 || cx >= kOverviewCells || cz >= kOverviewCells) return -1;
    return drawn[CellIndex(cx, cz)];
  };
  constexpr int kLast = kOverviewCellPixels - 1;
  for (int cx = 1; cx < kOverviewCells; ++cx) {
    for (int cz = 1; cz < kOverviewCells; ++cz) {
      const int room = roomAt(cx, cz);
      if (room == -1) continue;
      const Rgb colour = CellColour(level, room, selectedRoom);
      image.SetFillColour(colour);
      image.SetOutlineColour(colour);
      // As on the room map: the first coordinate runs downwards, the second to the right.
      const int left = cz * kOverviewCellPixels, top = cx * kOverviewCellPixels;
      image.DrawBox(left, top, left + kOverviewCellPixels, top + kOverviewCellPixels);
      // A one-pixel edge on each side where the neighbour shows another room or none, so
      // rooms of one colour still read as rooms.
      image.SetOutlineColour(overview_colour::kOutline);
      if (roomAt(cx - 1, cz) != room) image.DrawLine(left, top, left + kLast, top);
      if (roomAt(cx + 1, cz) != room) image.DrawLine(left, top + kLast, left + kLast, top + kLast);
      if (roomAt(cx, cz - 1) != room) image.DrawLine(left, top, left, top + kLast);
      if (roomAt(cx, cz + 1) != room) image.DrawLine(left + kLast, top, left + kLast, top + kLast);
    }
  }
  return image;
}

int OverviewRoomAt(const Level& level, int selectedRoom, int x, int y) {
  int cx = 0, cz = 0;
  if (!CellOf(x, y, cx, cz)) return -1;
  return DrawnRooms(OverviewLayers(level), selectedRoom)[CellIndex(cx, cz)];
}

int OverviewPick(const Level& level, int selectedRoom, int x, int y) {
  const std::vector<int> stack = OverviewStack(level, x, y);
  if (stack.empty()) return -1;
  const auto selected = std::find(stack.begin(), stack.end(), selectedRoom);
  if (selected == stack.end()) return stack.front();
  return *(std::next(selected) == stack.end() ? stack.begin() : std::next(selected));
}

}  // namespace slab

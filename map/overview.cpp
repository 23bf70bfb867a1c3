#include "map/overview.h"

#include <array>
#include <vector>

namespace slab {
namespace {

struct Cell {
  int Room = -1;
  int Height = 0;
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

// Which room shows in each cell, and its floor: the picture and the clicks read the same grid.
std::vector<Cell> OverviewGrid(const Level& level, int selectedRoom) {
  std::vector<Cell> grid(kOverviewCells * kOverviewCells);
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    const int baseX = room.Info.X / kSectorUnits, baseZ = room.Info.Z / kSectorUnits;
    for (int x = 1; x <= room.NumXSectors - 2; ++x) {
      for (int z = 1; z <= room.NumZSectors - 2; ++z) {
        if (!room.HasSector(x, z)) continue;
        const int cx = baseX + x, cz = baseZ + z;
        // Rooms placed beyond the grid are left out rather than wrapped onto it.
        if (cx < 1 || cz < 1 || cx >= kOverviewCells || cz >= kOverviewCells) continue;
        Cell& cell = grid[static_cast<size_t>(cx) * kOverviewCells + cz];
        const int height = FloorHeightUp(room.SectorAt(x, z).Floor);
        // The selected room is drawn over any other, so it always shows in red.
        const bool selected = static_cast<int>(r) == selectedRoom;
        if (cell.Room == -1 || selected || (cell.Room != selectedRoom && height > cell.Height))
          cell = {static_cast<int>(r), height};
      }
    }
  }
  return grid;
}

}  // namespace

MapImage DrawLevelOverview(const Level& level, int selectedRoom) {
  const std::vector<Cell> grid = OverviewGrid(level, selectedRoom);
  MapImage image(kOverviewSize, kOverviewSize);
  image.Fill(overview_colour::kBackground);
  for (int cx = 1; cx < kOverviewCells; ++cx) {
    for (int cz = 1; cz < kOverviewCells; ++cz) {
      const Cell& cell = grid[static_cast<size_t>(cx) * kOverviewCells + cz];
      if (cell.Room == -1) continue;
      const Rgb colour = CellColour(level, cell.Room, selectedRoom);
      image.SetFillColour(colour);
      image.SetOutlineColour(colour);
      // As on the room map: the first coordinate runs downwards, the second to the right.
      const int left = cz * kOverviewCellPixels, top = cx * kOverviewCellPixels;
      image.DrawBox(left, top, left + kOverviewCellPixels, top + kOverviewCellPixels);
    }
  }
  return image;
}

int OverviewRoomAt(const Level& level, int selectedRoom, int x, int y) {
  if (x < 0 || y < 0 || x >= kOverviewSize || y >= kOverviewSize) return -1;
  // The inverse of the drawing's placement: columns are cz, rows are cx.
  const int cx = y / kOverviewCellPixels, cz = x / kOverviewCellPixels;
  if (cx < 1 || cz < 1) return -1;
  return OverviewGrid(level, selectedRoom)[static_cast<size_t>(cx) * kOverviewCells + cz].Room;
}

}  // namespace slab

#include "map/floor_edits.h"

#include <vector>

#include "floordata/walkers.h"

namespace slab {

const char* MinecartCaption(Game game, MinecartMode mode) {
  const bool laterGame = game == Game::TR4 || game == Game::TR5;
  switch (mode) {
    case MinecartMode::Stop:
      return "Minecart Stop";
    case MinecartMode::Left:
      return laterGame ? "Trigger Triggerer" : "Minecart Left";
    case MinecartMode::Right:
      return laterGame ? "Clockwise Beatle" : "Minecart Right";
  }
  return "";
}
namespace {

constexpr uint16_t kLeftWord = 0x0014;
constexpr uint16_t kRightWord = 0x0015;

void PutWord(std::vector<uint8_t>& bytes, uint16_t word) {
  bytes.push_back(static_cast<uint8_t>(word & 0xFF));
  bytes.push_back(static_cast<uint8_t>(word >> 8));
}

Sector* SelectedSector(Level& level, const MapState& state) {
  if (state.CurrentRoom < 0 || static_cast<size_t>(state.CurrentRoom) >= level.Rooms.size())
    return nullptr;
  Room& room = level.Rooms[state.CurrentRoom];
  if (!room.HasSector(state.SelectedSectorX, state.SelectedSectorZ)) return nullptr;
  return &room.SectorAt(state.SelectedSectorX, state.SelectedSectorZ);
}

}  // namespace

int32_t AppendFloorData(Level& level, std::span<const uint8_t> bytes) {
  // Whole words only: a stray odd byte would shift every word appended after it.
  const size_t index = level.FloorData.size() / 2;
  level.FloorData.resize(2 * index);
  level.FloorData.insert(level.FloorData.end(), bytes.begin(), bytes.end() - bytes.size() % 2);
  return static_cast<int32_t>(index);
}

bool AddMinecartFunction(Document& doc, const MapState& state, MinecartMode mode,
                         MessageSink& messages) {
  Level& level = doc.CurrentLevel;
  Sector* sector = SelectedSector(level, state);
  if (!sector) return false;
  if (level.FloorData.size() / 2 >= static_cast<size_t>(kFloorDataFull)) {
    messages.Show(kFloorDataFullMessage);
    return false;
  }
  // A list whose index leads nowhere is treated as no list, so the new one still ends.
  const std::vector<uint8_t> old = CopySectorFloorData(level, sector->FDIndex);
  const uint16_t end = old.empty() ? kFloorDataEnd : 0;
  std::vector<uint8_t> list;
  if (mode == MinecartMode::Stop) {
    PutWord(list, kLeftWord);
    PutWord(list, kRightWord | end);
  } else {
    PutWord(list, (mode == MinecartMode::Left ? kLeftWord : kRightWord) | end);
  }
  list.insert(list.end(), old.begin(), old.end());
  // Word 0 of every level is a dummy, since index 0 means "no list"; a level without floor
  // data gets one first.
  if (level.FloorData.size() < 2) AppendFloorData(level, std::vector<uint8_t>{0, 0});
  sector->FDIndex = static_cast<uint16_t>(AppendFloorData(level, list));
  doc.Modified = true;
  return true;
}

bool FloorWallClick(Document& doc, const MapState& state, bool checkedAfterClick) {
  if (!checkedAfterClick) return false;
  Sector* sector = SelectedSector(doc.CurrentLevel, state);
  if (!sector || (sector->Floor == kWallMarker && sector->Ceiling == kWallMarker)) return false;
  sector->Floor = kWallMarker;
  sector->Ceiling = kWallMarker;
  doc.Modified = true;
  return true;
}

}  // namespace slab

// Small in-memory levels for the floor-data and map tests: rooms of open floor, lists of
// floor-data words pointed at by sectors, items at sector centres.
#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"

namespace slab::test {

inline void SetFloorData(Level& level, const std::vector<uint16_t>& words) {
  level.FloorData.clear();
  for (uint16_t w : words) {
    level.FloorData.push_back(static_cast<uint8_t>(w & 0xFF));
    level.FloorData.push_back(static_cast<uint8_t>(w >> 8));
  }
}

// Word 0 is the dummy every level starts with; lists begin at word 1.
inline Level LevelWithList(const std::vector<uint16_t>& list) {
  std::vector<uint16_t> words{0};
  words.insert(words.end(), list.begin(), list.end());
  Level level;
  SetFloorData(level, words);
  return level;
}

// Function word: code, sub-function (trigger type, climb sides), end bit.
constexpr uint16_t Fn(int code, int sub = 0, bool last = false) {
  return static_cast<uint16_t>(code | sub << 8 | (last ? 0x8000 : 0));
}
// Trigger action word: action, parameter, end bit.
constexpr uint16_t Act(int action, int param, bool last = false) {
  return static_cast<uint16_t>(action << 10 | param | (last ? 0x8000 : 0));
}

// Open floor: no box, no rooms above or below, floor 0 under a ceiling of 0xF0.
inline constexpr Sector kOpenFloor{0, 0xFFFF, 255, 0, 255, 0xF0};

// Adds rooms, lists and entities to a level that lives elsewhere.
class LevelBuilder {
 public:
  explicit LevelBuilder(Level& level) : level_(&level) {}

  // Room at world (x, z) with numA x numB sectors of open floor; returns its index.
  int AddRoom(int numA, int numB, int x = 0, int z = 0) {
    Room room;
    room.Info.X = x;
    room.Info.Z = z;
    room.NumXSectors = static_cast<int16_t>(numA);
    room.NumZSectors = static_cast<int16_t>(numB);
    room.Sectors.assign(static_cast<size_t>(numA) * numB, kOpenFloor);
    room.AlternateRoom = -1;
    level_->Rooms.push_back(room);
    return static_cast<int>(level_->Rooms.size()) - 1;
  }

  Sector& At(int room, int a, int b) { return level_->Rooms[room].SectorAt(a, b); }

  // Appends a list and points sector (a, b) of the room at it.
  void ListAt(int room, int a, int b, const std::vector<uint16_t>& list) {
    At(room, a, b).FDIndex = static_cast<uint16_t>(words_.size());
    words_.insert(words_.end(), list.begin(), list.end());
    SetFloorData(*level_, words_);
  }

  // An item or AI object at the centre of sector (a, b) of the room, nudged by dx units;
  // returns its entity number (AI objects count after the items).
  int AddItemAt(int room, int a, int b, int16_t objectId = 0, int dx = 0) {
    return AddAt(level_->Items, room, a, b, objectId, dx);
  }
  int AddAIAt(int room, int a, int b, int16_t objectId = 0) {
    return static_cast<int>(level_->Items.size()) +
           AddAt(level_->AIObjects, room, a, b, objectId, 0);
  }

 private:
  template <typename T>
  int AddAt(std::vector<T>& list, int room, int a, int b, int16_t objectId, int dx) {
    T& added = list.emplace_back();
    added.ObjectID = objectId;
    added.Room = static_cast<int16_t>(room);
    added.X = level_->Rooms[room].Info.X + 1024 * a + 512 + dx;
    added.Z = level_->Rooms[room].Info.Z + 1024 * b + 512;
    return static_cast<int>(list.size()) - 1;
  }

  Level* level_;
  std::vector<uint16_t> words_{0};  // word 0 is the dummy every level starts with
};

}  // namespace slab::test

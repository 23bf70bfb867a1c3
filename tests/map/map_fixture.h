// Small in-memory levels for the map tests: rooms of open floor, lists of floor-data words
// pointed at by sectors, items at sector centres.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "floordata/floor_data_builder.h"
#include "floordata/object_names.h"
#include "level/document.h"
#include "level/messages.h"
#include "map/map_state.h"

namespace slab::test {

// Open floor: no box, no rooms above or below, floor 0 under a ceiling of 0xF0.
inline constexpr Sector kOpenFloor{0, 0xFFFF, 255, 0, 255, 0xF0};

class MapFixture : public testing::Test {
 protected:
  MapFixture() {
    doc.GameVersion = Game::TR3;
    doc.LevelLoaded = true;
  }

  Level& level() { return doc.CurrentLevel; }

  // Room at world (x, z) with numA x numB sectors; returns its index.
  int AddRoom(int numA, int numB, int x = 0, int z = 0) {
    Room room;
    room.Info.X = x;
    room.Info.Z = z;
    room.NumXSectors = static_cast<int16_t>(numA);
    room.NumZSectors = static_cast<int16_t>(numB);
    room.Sectors.assign(static_cast<size_t>(numA) * numB, kOpenFloor);
    room.AlternateRoom = -1;
    level().Rooms.push_back(room);
    return static_cast<int>(level().Rooms.size()) - 1;
  }

  Sector& At(int room, int a, int b) { return level().Rooms[room].SectorAt(a, b); }

  // Appends a list and points sector (a, b) of the room at it.
  void ListAt(int room, int a, int b, std::initializer_list<uint16_t> list) {
    At(room, a, b).FDIndex = static_cast<uint16_t>(words.size());
    words.insert(words.end(), list);
    SetFloorData(level(), words);
  }

  // An item or AI object at the centre of sector (a, b) of the room, nudged by dx units;
  // returns its entity number (AI objects count after the items).
  template <typename T>
  int AddAt(std::vector<T>& list, int room, int a, int b, int16_t objectId, int dx = 0) {
    T& added = list.emplace_back();
    added.ObjectID = objectId;
    added.Room = static_cast<int16_t>(room);
    added.X = level().Rooms[room].Info.X + 1024 * a + 512 + dx;
    added.Z = level().Rooms[room].Info.Z + 1024 * b + 512;
    return static_cast<int>(level().Items.size() + level().AIObjects.size()) - 1;
  }
  int AddItemAt(int room, int a, int b, int16_t objectId = 0, int dx = 0) {
    return AddAt(level().Items, room, a, b, objectId, dx) -
           static_cast<int>(level().AIObjects.size());
  }
  int AddAIAt(int room, int a, int b, int16_t objectId = 0) {
    return AddAt(level().AIObjects, room, a, b, objectId);
  }

  // A pixel inside sector (a, b), 0-based, clear of its outline and its marker.
  static int PixelX(int b) { return 10 * b + 1; }
  static int PixelY(int a) { return 10 * a + 1; }

  Document doc;
  MapState state;
  ObjectNames names;
  RecordingSink messages;
  std::vector<uint16_t> words{0};  // word 0 is the dummy every level starts with
};

}  // namespace slab::test

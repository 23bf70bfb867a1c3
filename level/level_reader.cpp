// The sections of a level body whose reading is more than a count and a copy: the rooms with
// the checks that catch a damaged room count, the texture pages, the first game's boxes, the
// demo and the sound map.
#include "level/level_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>

namespace slab {

namespace {

// What a first- to fourth-game room's geometry takes by its own four counts (vertices,
// rectangles, triangles and sprites), the first of them at pos. (Fourth-game rooms hold no
// sprite entries, but a count there would take its four bytes a sprite in the room's size.) The
// entries need not be there: in a file cut inside the geometry the counts read still agree
// with the stated size.
struct GeometryWalk {
  uint64_t Bytes = 0;     // up to the count that lies past the data, when one does
  bool Complete = false;  // all four counts read
  bool Negative = false;  // a count below zero: reported when the room is read
};
GeometryWalk WalkRoomGeometry(std::span<const uint8_t> bytes, size_t pos, Game version) {
  const size_t entrySizes[] = {
      version == Game::TR1 ? FileSize<RoomVertex>(version) : sizeof(RoomVertex),
      FileSize<RoomQuad>(version), FileSize<RoomTriangle>(version),
      sizeof(RoomSprite)};
  GeometryWalk walk;
  for (size_t entrySize : entrySizes) {
    if (pos + walk.Bytes + 2 > bytes.size()) return walk;
    int16_t count;
    std::memcpy(&count, bytes.data() + pos + walk.Bytes, 2);
    walk.Negative = count < 0;
    if (walk.Negative) return walk;
    walk.Bytes += 2 + static_cast<uint64_t>(count) * entrySize;
  }
  walk.Complete = true;
  return walk;
}

// Throws when the room at start states (NumDataWords, 16 bytes in) another size than its
// geometry's counts take. Where neither the counts nor the stated size can be followed to their
// end (a file cut inside the geometry), the room is left to report where the data ends.
void CheckRoomSize(const ByteCursor& c, size_t start, const std::string& room, Game version) {
  if (c.Size() - start < 20) return;
  int32_t stated;
  std::memcpy(&stated, c.Bytes().data() + start + 16, 4);
  const GeometryWalk walk = WalkRoomGeometry(c.Bytes(), start + 20, version);
  if (stated < 0 || walk.Negative) return;
  const bool statedFits = uint64_t{2} * static_cast<uint32_t>(stated) <= c.Size() - start - 20;
  std::string takes;
  if (walk.Complete && walk.Bytes != uint64_t{2} * static_cast<uint32_t>(stated))
    takes = std::to_string(walk.Bytes / 2);
  else if (!walk.Complete && statedFits)
    takes = "more than the rest of " + c.Container() + " holds";
  if (takes.empty()) return;
  throw c.Inconsistent(room + " states " + std::to_string(stated) + " data words " +
                           c.At(start + 16) + "; its geometry takes " + takes,
                       start + 16);
}

}  // namespace

// A room whose stated data size (NumDataWords) is not what its geometry's counts take is
// damage, in every game where every real level agrees (and it is caught before a damaged count
// sizes anything): a forged count, such as a fourth-game room's sprite count, cannot pass. Every room takes at least 40 bytes (58 in the fourth game): a count the
// rest cannot hold is still read room by room, so a file cut inside the rooms says which room
// it ends in, while a room that is no room at all (its sizes disagree, a count is negative)
// says the count is what is wrong.
void LevelReader::Rooms(std::vector<Room>& rooms, Game version) {
  c_.SetContext("the room count");
  const int16_t count = c_.ReadCount16("NumRooms");
  const size_t countAt = c_.Pos() - 2;
  const size_t leastBytes = version == Game::TR4 ? 58 : 40;
  const uint64_t most = c_.Remaining() / leastBytes;
  const bool fits = static_cast<uint64_t>(count) <= most;
  rooms.clear();
  if (fits) rooms.reserve(static_cast<size_t>(count));
  for (int16_t i = 0; i < count; ++i) {
    c_.SetContext("room " + std::to_string(i));
    try {
      CheckRoomSize(c_, c_.Pos(), c_.Context(), version);
      Transfer(*this, rooms.emplace_back(), version);
    } catch (const FormatError& e) {
      if (fits || e.RanOut()) throw;
      throw c_.CountTooLarge("NumRooms", count, countAt, most);
    }
  }
}

void LevelReader::PageCount(Level& level, Game /*version*/) {
  level.NumTextiles = c_.ReadCount32("NumTextiles");
}

// 8-bit pages, then from the second game on as many 16-bit pages.
void LevelReader::Pages(Level& level, Game version) {
  const int64_t pages = level.NumTextiles;
  const bool tr2Plus = version >= Game::TR2;
  c_.NeedEntries(pages, kPagePixels * (tr2Plus ? 3 : 1));
  c_.ReadList(level.Textile8, pages * static_cast<int64_t>(kPagePixels));
  if (tr2Plus) c_.ReadList(level.Textile16, pages * static_cast<int64_t>(kPagePixels));
}

void LevelReader::Tr1Boxes(Level& level) {
  Section("the boxes");
  const int32_t boxes = c_.ReadCount32("NumBoxes");
  level.Tr1BoxBounds.clear();
  c_.ReadEach(level.Boxes, boxes, 20, [&](Box& b) {
    std::array<int32_t, 4> bounds{};
    TransferTr1Box(*this, b, bounds);
    level.Tr1BoxBounds.push_back(bounds);
    // Whole sectors, as the later games store them; Tr1BoxBounds keeps the units.
    b.Zmin = Tr1BoxSector(bounds[0]);
    b.Zmax = Tr1BoxSector(bounds[1]);
    b.Xmin = Tr1BoxSector(bounds[2]);
    b.Xmax = Tr1BoxSector(bounds[3]);
  });
}

void LevelReader::DemoData(int16_t& numBytes, std::vector<int32_t>& demo) {
  numBytes = c_.ReadCount16("NumDemoData");
  demo.clear();
  if (numBytes <= 0) return;
  auto bytes = c_.Take(static_cast<size_t>(numBytes));
  demo.assign((bytes.size() + 3) / 4, 0);
  std::memcpy(demo.data(), bytes.data(), bytes.size());
}

void LevelReader::SoundMap(std::vector<int16_t>& map, size_t entries) {
  map.assign(std::max<size_t>(kSoundMapEntries, entries), 0);
  c_.ReadBytes(map.data(), sizeof(int16_t) * entries);
}

}  // namespace slab

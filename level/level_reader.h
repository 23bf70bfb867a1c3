// The reading side of a level's body (level/level_transfer.h): each operation reads its section
// from a ByteCursor, naming it in messages as the section's reader always has. Counts are
// checked against the bytes that can hold their entries before anything is sized from them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "level/byte_cursor.h"
#include "level/level.h"
#include "level/record_transfer.h"

namespace slab {

class LevelReader : public RecordReader {
 public:
  explicit LevelReader(ByteCursor& cursor) : RecordReader(cursor) {}

  void Section(std::string name) { c_.SetContext(std::move(name)); }
  void Mark(std::string_view /*name*/) {}
  // Where the next record of a counted list will lie in the file (past its 32-bit count).
  void RecordsAt(size_t& at) { at = c_.Offset() + 4; }

  template <class T>
  void Counted(std::string name, std::string_view field, std::vector<T>& list) {
    Section(std::move(name));
    c_.ReadList(list, c_.ReadCount32(field));
  }
  template <class T>
  void CountedRecords(std::string name, std::string_view field, std::vector<T>& list,
                      Game version) {
    Section(std::move(name));
    const int32_t count = c_.ReadCount32(field);
    c_.ReadEach(list, count, FileSize<T>(version),
                [&](T& record) { Transfer(*this, record, version); });
  }
  void WordBytes(std::string name, std::string_view field, std::vector<uint8_t>& bytes) {
    Section(std::move(name));
    c_.ReadList(bytes, int64_t{c_.ReadCount32(field)} * 2);
  }
  void SizedBytes(std::string name, std::string_view field, std::vector<uint8_t>& bytes) {
    Section(std::move(name));
    c_.ReadList(bytes, c_.ReadCountU32(field));
  }

  // The room count and the rooms of the first four games, each room checked against its
  // stated size where that is damage.
  void Rooms(std::vector<Room>& rooms, Game version);

  void PageCount(Level& level, Game version);
  void Pages(Level& level, Game version);
  void Tr1Boxes(Level& level);

  // numBytes demo bytes, grouped in 32-bit words: a partial last word holds the remaining
  // bytes in its low bytes (file order) with zeros above, so a writer puts back exactly that
  // many.
  void DemoData(int16_t& numBytes, std::vector<int32_t>& demo);
  // The first entries of a map of kSoundMapEntries words; the rest read as 0.
  void SoundMap(std::vector<int16_t>& map, size_t entries);
  template <class T>
  size_t Length16(const std::vector<T>& /*list*/) {
    return c_.ReadU16();
  }
  void Marker(std::string_view text) { c_.Skip(text.size()); }  // not compared
  // A chunk that stops short of its closing bytes still holds every list.
  void Closing(size_t n) { c_.Seek(c_.Pos() + std::min(n, c_.Remaining())); }
};

}  // namespace slab

// The writing side of the records' file forms (level/record_transfer.h) and of the levels'
// order of sections (level/level_transfer.h). Counts are written from the lists themselves,
// so an edited list always matches its count.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "level/level.h"
#include "level/record_transfer.h"
#include "write/byte_writer.h"
#include "write/write_level.h"

namespace slab {

class RecordWriter {
 public:
  explicit RecordWriter(ByteWriter& w) : w_(w) {}

  template <class... T>
  void operator()(const T&... fields) {
    (w_.Write(fields), ...);
  }
  void Count(std::string_view, int16_t n) { w_.WriteI16(n); }
  void Count(std::string_view, int32_t n) { w_.WriteI32(n); }
  template <class T>
  void Block16(std::string_view, const std::vector<T>& list) {
    w_.WriteU16(static_cast<uint16_t>(list.size()));
    w_.WriteList(list);
  }
  template <class T, class Each>
  void Each16(std::string_view, const std::vector<T>& list, size_t, Each each) {
    w_.WriteU16(static_cast<uint16_t>(list.size()));
    for (const T& record : list) each(record);
  }
  template <class T>
  void Block(const std::vector<T>& list, int64_t) {
    w_.WriteList(list);
  }
  void Part(std::string_view) {}
  template <class T, class Each>
  void Each16OrNone(const std::vector<T>& list, size_t entrySize, Each each) {
    Each16({}, list, entrySize, each);
  }
  template <class A, class EachA, class B, class EachB>
  void Either16(const std::vector<A>& a, size_t, EachA eachA, const std::vector<B>& b, size_t,
                EachB eachB) {
    if (!a.empty()) {
      w_.WriteI16(static_cast<int16_t>(a.size()));
      for (const A& record : a) eachA(record);
    } else {
      w_.WriteI16(static_cast<int16_t>(-static_cast<int>(b.size())));
      for (const B& record : b) eachB(record);
    }
  }

 protected:
  ByteWriter& w_;
};

// The writing side of a level's body (level/level_transfer.h). Counts are the lists' sizes;
// with sections, it also notes where each marked part of the file starts.
class LevelWriter : public RecordWriter {
 public:
  explicit LevelWriter(ByteWriter& w, std::vector<FileSection>* sections = nullptr)
      : RecordWriter(w), sections_(sections) {}

  void Section(std::string_view /*name*/) {}
  void RecordsAt(const size_t& /*at*/) {}  // read for messages only
  void Mark(std::string_view name) {
    if (sections_ != nullptr) sections_->push_back({std::string(name), w_.Size()});
  }

  template <class T>
  void Counted(std::string_view, std::string_view, const std::vector<T>& list) {
    w_.WriteU32(static_cast<uint32_t>(list.size()));
    w_.WriteList(list);
  }
  template <class T>
  void CountedRecords(std::string_view, std::string_view, const std::vector<T>& list,
                      Game version) {
    w_.WriteU32(static_cast<uint32_t>(list.size()));
    for (const T& record : list) Transfer(*this, record, version);
  }
  // Whole words: an odd last byte has no word to go in.
  void WordBytes(std::string_view, std::string_view, const std::vector<uint8_t>& bytes) {
    w_.WriteU32(static_cast<uint32_t>(bytes.size() / 2));
    w_.WriteBytes(bytes.data(), bytes.size() & ~size_t{1});
  }
  void SizedBytes(std::string_view, std::string_view, const std::vector<uint8_t>& bytes) {
    Counted({}, {}, bytes);
  }

  // Each room marked as the reader names it in messages.
  void Rooms(const std::vector<Room>& rooms, Game version) {
    w_.WriteU16(static_cast<uint16_t>(rooms.size()));
    for (size_t i = 0; i < rooms.size(); ++i) {
      if (sections_ != nullptr) Mark("room " + std::to_string(i));
      Transfer(*this, rooms[i], version);
    }
  }

  // Pages missing from one of the two lists (a level converted from another game) are
  // written black rather than cut short.
  void PageCount(const Level& level, Game version) {
    w_.WriteU32(static_cast<uint32_t>(WholePages(level, version)));
  }
  void Pages(const Level& level, Game version) {
    const size_t pixels = WholePages(level, version) * kPagePixels;
    const size_t have8 = std::min(level.Textile8.size(), pixels);
    w_.WriteBytes(level.Textile8.data(), have8);
    w_.WriteZeros(pixels - have8);
    if (version < Game::TR2) return;
    const size_t have16 = std::min(level.Textile16.size(), pixels);
    w_.WriteBytes(level.Textile16.data(), have16 * 2);
    w_.WriteZeros((pixels - have16) * 2);
  }

  // The stored world units when a box still matches them; whole sectors otherwise.
  void Tr1Boxes(const Level& level) {
    w_.WriteU32(static_cast<uint32_t>(level.Boxes.size()));
    for (size_t i = 0; i < level.Boxes.size(); ++i) {
      const Box& b = level.Boxes[i];
      std::array<int32_t, 4> bounds{b.Zmin * kSectorUnits, b.Zmax * kSectorUnits,
                                    b.Xmin * kSectorUnits, b.Xmax * kSectorUnits};
      if (i < level.Tr1BoxBounds.size()) {
        const auto& kept = level.Tr1BoxBounds[i];
        bool same = true;
        for (int k = 0; k < 4; ++k)
          same = same && Tr1BoxSector(kept[k]) == bounds[k] / kSectorUnits;
        if (same) bounds = kept;
      }
      TransferTr1Box(*this, b, bounds);
    }
  }

  // The demo length, then exactly that many bytes of the demo image (the reader keeps a
  // partial last word in its low bytes).
  void DemoData(int16_t numBytes, const std::vector<int32_t>& demo) {
    const size_t bytes = std::min<size_t>(std::max<int16_t>(numBytes, 0), demo.size() * 4);
    w_.WriteI16(static_cast<int16_t>(bytes));
    w_.WriteBytes(demo.data(), bytes);
  }
  // The map's first entries, the missing ones as -1 (no sound).
  void SoundMap(const std::vector<int16_t>& map, size_t entries) {
    for (size_t i = 0; i < entries; ++i) w_.WriteI16(i < map.size() ? map[i] : int16_t{-1});
  }
  template <class T>
  size_t Length16(const std::vector<T>& list) {
    w_.WriteU16(static_cast<uint16_t>(list.size()));
    return list.size();
  }
  void Marker(std::string_view text) { w_.WriteText(text); }
  void Closing(size_t n) { w_.WriteZeros(n); }

 private:
  static size_t WholePages(const Level& level, Game version) {
    return std::max(level.Textile8.size(), version >= Game::TR2 ? level.Textile16.size() : 0) /
           kPagePixels;
  }

  std::vector<FileSection>* sections_;
};

}  // namespace slab

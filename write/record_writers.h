// The writing side of the records' file forms (level/record_transfer.h) and the pieces the
// first- to fourth-game writers share. Counts are written from the lists themselves, so an
// edited list always matches its count.
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

#include "level/level.h"
#include "level/record_transfer.h"
#include "write/byte_writer.h"

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

 private:
  ByteWriter& w_;
};

// A 32-bit count, then the records as they are laid out in memory and in the file.
template <typename T>
void WriteCountedList(ByteWriter& w, const std::vector<T>& list) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  w.WriteList(list);
}

// A 32-bit count, then each record through its Transfer.
template <typename T>
void WriteCountedRecords(ByteWriter& w, const std::vector<T>& list, Game version) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  RecordWriter io(w);
  for (const T& record : list) Transfer(io, record, version);
}

// A 32-bit count of 16-bit words, then the words held as their bytes (floor and mesh data).
inline void WriteWordBytes(ByteWriter& w, const std::vector<uint8_t>& bytes) {
  w.WriteU32(static_cast<uint32_t>(bytes.size() / 2));
  w.WriteBytes(bytes.data(), bytes.size() & ~size_t{1});
}

// The two list forms above on one output, as the level writers build on them.
struct ListWriter {
  ByteWriter& w;

  template <typename T>
  void CountedList(const std::vector<T>& list) {
    WriteCountedList(w, list);
  }
  void WordBytes(const std::vector<uint8_t>& bytes) { WriteWordBytes(w, bytes); }
};

// The demo length, then exactly that many bytes of the demo image (level/record_transfer.h's
// ReadDemoData keeps a partial last word in its low bytes).
inline void WriteDemoData(ByteWriter& w, const Level& level) {
  size_t bytes =
      std::min<size_t>(std::max<int16_t>(level.NumDemoData, 0), level.DemoData.size() * 4);
  w.WriteI16(static_cast<int16_t>(bytes));
  w.WriteBytes(level.DemoData.data(), bytes);
}

// The sound map's entries, the missing ones as -1 (no sound).
inline void WriteSoundMap(ByteWriter& w, const std::vector<int16_t>& soundMap, size_t entries) {
  for (size_t i = 0; i < entries; ++i) w.WriteI16(i < soundMap.size() ? soundMap[i] : int16_t{-1});
}

}  // namespace slab

// Shared by the test composers only: a little-endian field writer that remembers where each
// named stretch of the file lies, and the records every game's file lays out the same way.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/compose_classic.h"

namespace slab::test {

class Out {
 public:
  // "room 1 " while a room is written: the start of every section name.
  std::string Prefix;

  // Each takes any number of values of that width; whether they are signed does not matter
  // to the bytes.
  template <typename... T>
  void U8(T... v) {
    (Put(static_cast<uint32_t>(v), 1), ...);
  }
  template <typename... T>
  void W16(T... v) {
    (Put(static_cast<uint32_t>(v), 2), ...);
  }
  template <typename... T>
  void W32(T... v) {
    (Put(static_cast<uint32_t>(v), 4), ...);
  }
  template <typename... T>
  void F32(T... v) {
    (Put(std::bit_cast<uint32_t>(static_cast<float>(v)), 4), ...);
  }
  template <typename C>
  void Block(const C& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  void Text(const char* text, size_t n) { bytes_.insert(bytes_.end(), text, text + n); }
  void Fill(size_t n, uint8_t value) { bytes_.insert(bytes_.end(), n, value); }
  void PatchW32(size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) bytes_[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }

  size_t Mark() const { return bytes_.size(); }
  void Name(const std::string& name, size_t start) {
    if (bytes_.size() > start) sections_.push_back({Prefix + name, start, bytes_.size() - start});
  }
  // A count of Width bytes, under its own section name.
  template <size_t Width>
  void Count(const std::string& name, size_t n) {
    const size_t start = Mark();
    Put(static_cast<uint32_t>(n), Width);
    Name(name, start);
  }
  // A list entry by entry under one section name, after its count "Num<name>".
  template <size_t Width, typename L, typename F>
  void Counted(const std::string& name, const L& list, F writeOne) {
    Count<Width>("Num" + name, list.size());
    const size_t start = Mark();
    for (const auto& entry : list) writeOne(entry);
    Name(name, start);
  }
  template <typename C>
  void NamedBlock(const std::string& name, const C& bytes) {
    const size_t start = Mark();
    Block(bytes);
    Name(name, start);
  }

  ComposedFile Finish() { return {std::move(bytes_), std::move(sections_)}; }

 private:
  void Put(uint32_t v, size_t width) {
    for (size_t i = 0; i < width; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }

  std::vector<uint8_t> bytes_;
  std::vector<ComposedSection> sections_;
};

inline void WriteSector(Out& o, const Sector& s) {
  o.W16(s.FDIndex, s.BoxIndex);
  o.U8(s.RoomBelow, s.Floor, s.RoomAbove, s.Ceiling);
}

inline void WritePortal(Out& o, const Portal& p) {
  o.W16(p.AdjoiningRoom);
  for (auto v : p.Normal) o.W16(v);
  for (auto v : p.Vertices) o.W16(v);
}

inline void WriteRoomStatic(Out& o, const RoomStatic& s, Game gameVersion) {
  o.W32(s.X, s.Y, s.Z);
  o.W16(s.Rotation, s.Intensity1);
  if (gameVersion != Game::TR1) o.W16(s.Intensity2);
  o.W16(s.ObjectID);
}

// Everything from the floor-data count on, as the draft's game lays it out, to the closing
// bytes of the level data (the fourth game's chunk, the fifth game's stated level data).
void WriteLists(Out& o, const DraftLevel& d);

}  // namespace slab::test

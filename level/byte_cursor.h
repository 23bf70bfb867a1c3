// The bounds-checked little-endian cursor every reader uses: over a whole file for the
// first three games and the fifth, over the inflated level-data chunk for the fourth.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace slab {

static_assert(std::endian::native == std::endian::little,
              "records are copied straight from little-endian file bytes");

// A read past the end: what was being read and where. LoadLevel turns it into a message.
class FormatError : public std::runtime_error {
 public:
  FormatError(std::string what, size_t offset)
      : std::runtime_error(what + " ends early, at byte " + std::to_string(offset)),
        What(std::move(what)),
        Offset(offset) {}
  std::string What;
  size_t Offset;
};

class ByteCursor {
 public:
  explicit ByteCursor(std::span<const uint8_t> bytes, size_t baseOffset = 0)
      : bytes_(bytes), base_(baseOffset) {}

  size_t Pos() const { return pos_; }
  size_t Size() const { return bytes_.size(); }
  size_t Remaining() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }
  std::span<const uint8_t> Bytes() const { return bytes_; }

  // Names what the following reads belong to, for the message when one fails.
  void SetContext(std::string context) { context_ = std::move(context); }
  const std::string& Context() const { return context_; }

  // Throws unless n more bytes are there.
  void Need(size_t n) const {
    if (n > Remaining()) throw FormatError(context_, base_ + pos_);
  }
  // Throws unless count entries of entrySize bytes fit; checked before anything is sized.
  void NeedEntries(uint64_t count, size_t entrySize) const {
    if (entrySize != 0 && count > Remaining() / entrySize)
      throw FormatError(context_, base_ + pos_);
  }

  void Seek(size_t pos) {
    if (pos > bytes_.size()) throw FormatError(context_, base_ + pos_);
    pos_ = pos;
  }
  void Skip(size_t n) {
    Need(n);
    pos_ += n;
  }
  void ReadBytes(void* dst, size_t n) {
    Need(n);
    if (n != 0) std::memcpy(dst, bytes_.data() + pos_, n);
    pos_ += n;
  }
  std::span<const uint8_t> Take(size_t n) {
    Need(n);
    auto out = bytes_.subspan(pos_, n);
    pos_ += n;
    return out;
  }

  template <typename T>
  T Read() {
    static_assert(std::is_trivially_copyable_v<T>);
    T value;
    ReadBytes(&value, sizeof(T));
    return value;
  }
  uint8_t ReadU8() { return Read<uint8_t>(); }
  int16_t ReadI16() { return Read<int16_t>(); }
  uint16_t ReadU16() { return Read<uint16_t>(); }
  int32_t ReadI32() { return Read<int32_t>(); }
  uint32_t ReadU32() { return Read<uint32_t>(); }
  float ReadF32() { return Read<float>(); }

  // A list whose file entries equal its records: checked, sized and filled in one copy.
  // Negative counts read as empty lists, as the original treated them.
  template <typename T, typename Allocator>
  void ReadList(std::vector<T, Allocator>& list, int64_t count) {
    static_assert(std::is_trivially_copyable_v<T>);
    list.clear();
    if (count <= 0) return;
    NeedEntries(static_cast<uint64_t>(count), sizeof(T));
    list.resize(static_cast<size_t>(count));
    ReadBytes(list.data(), static_cast<size_t>(count) * sizeof(T));
  }

  // A list read entry by entry: entries are checked against fileEntrySize first, so a
  // damaged count never sizes a list the file cannot fill.
  template <typename T, typename ReadOne>
  void ReadEach(std::vector<T>& list, int64_t count, size_t fileEntrySize, ReadOne readOne) {
    list.clear();
    if (count <= 0) return;
    NeedEntries(static_cast<uint64_t>(count), fileEntrySize);
    list.resize(static_cast<size_t>(count));
    for (auto& entry : list) readOne(entry);
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  size_t base_ = 0;  // added to offsets in messages, for cursors over part of a file
  std::string context_;
};

}  // namespace slab

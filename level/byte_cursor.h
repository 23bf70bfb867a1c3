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
#include <string_view>
#include <type_traits>
#include <vector>

#include "level/level_error.h"

namespace slab {

static_assert(std::endian::native == std::endian::little,
              "records are copied straight from little-endian file bytes");

// Damage a reader found: a read past the end of the data (What names what was being read,
// Offset is where the data ran out), or a count below zero (What names the field, Offset is
// where the count is stored). Container names the bytes the offset counts in. LoadLevel turns
// it into a message.
class FormatError : public LevelError {
 public:
  enum class Kind { EndsEarly, NegativeCount };

  FormatError(std::string what, size_t offset, std::string container = "the file")
      : FormatError(Kind::EndsEarly, std::move(what), offset, std::move(container), 0) {}

  static FormatError NegativeCount(std::string field, int64_t value, size_t offset,
                                   std::string container = "the file") {
    return FormatError(Kind::NegativeCount, std::move(field), offset, std::move(container), value);
  }

  std::string ForUser(const std::string& fileName) const override {
    return fileName + " is damaged: " + what();
  }

  Kind ErrorKind;
  std::string What;
  size_t Offset;
  std::string Container;
  int64_t Value;  // the negative count

 private:
  FormatError(Kind kind, std::string what, size_t offset, std::string container, int64_t value)
      : LevelError(Describe(kind, what, offset, container, value)),
        ErrorKind(kind),
        What(std::move(what)),
        Offset(offset),
        Container(std::move(container)),
        Value(value) {}

  // "the file ends inside the texture pages, at byte 1500000" reads right whether the section's
  // name is singular or plural; offsets in a part of a file say which part.
  static std::string Describe(Kind kind, const std::string& what, size_t offset,
                              const std::string& container, int64_t value) {
    const std::string at = "at byte " + std::to_string(offset);
    if (kind == Kind::EndsEarly) return container + " ends inside " + what + ", " + at;
    return what + " is " + std::to_string(value) + " " + at +
           (container == "the file" ? "" : " of " + container) + "; a count can't be negative";
  }
};

class ByteCursor {
 public:
  // container names the bytes in messages ("the file", "the inflated level data").
  explicit ByteCursor(std::span<const uint8_t> bytes, size_t baseOffset = 0,
                      std::string container = "the file")
      : bytes_(bytes), base_(baseOffset), container_(std::move(container)) {}

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
    if (n > Remaining()) throw EndsEarly();
  }
  // Throws unless count entries of entrySize bytes fit; checked before anything is sized.
  void NeedEntries(uint64_t count, size_t entrySize) const {
    if (entrySize != 0 && count > Remaining() / entrySize) throw EndsEarly();
  }

  void Seek(size_t pos) {
    if (pos > bytes_.size()) throw EndsEarly();
    pos_ = pos;
  }

  // The damage "the data ran out": reported at the end of the bytes there are.
  FormatError EndsEarly() const { return FormatError(context_, base_ + bytes_.size(), container_); }

  // A count the file can only hold as zero or more; field names it in the message (the model's
  // field name, with the room for room fields). Returns it widened, so callers size from it.
  int32_t ReadCount32(std::string_view field) { return CheckedCount(ReadI32(), field, 4); }
  int16_t ReadCount16(std::string_view field) {
    return static_cast<int16_t>(CheckedCount(ReadI16(), field, 2));
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
  // The next n bytes, checked once; the cursor moves past them.
  const uint8_t* Advance(size_t n) {
    Need(n);
    const uint8_t* at = bytes_.data() + pos_;
    pos_ += n;
    return at;
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
  // Counts are checked when read (ReadCount32); a negative one here is damage all the same.
  template <typename T, typename Allocator>
  void ReadList(std::vector<T, Allocator>& list, int64_t count) {
    static_assert(std::is_trivially_copyable_v<T>);
    list.clear();
    RefuseNegative(count);
    if (count == 0) return;
    NeedEntries(static_cast<uint64_t>(count), sizeof(T));
    list.resize(static_cast<size_t>(count));
    ReadBytes(list.data(), static_cast<size_t>(count) * sizeof(T));
  }

  // A list read entry by entry: entries are checked against fileEntrySize first, so a
  // damaged count never sizes a list the file cannot fill.
  template <typename T, typename ReadOne>
  void ReadEach(std::vector<T>& list, int64_t count, size_t fileEntrySize, ReadOne readOne) {
    list.clear();
    RefuseNegative(count);
    if (count == 0) return;
    NeedEntries(static_cast<uint64_t>(count), fileEntrySize);
    list.resize(static_cast<size_t>(count));
    for (auto& entry : list) readOne(entry);
  }

 private:
  int32_t CheckedCount(int32_t value, std::string_view field, size_t width) const {
    if (value < 0)
      throw FormatError::NegativeCount(std::string(field) + " (" + context_ + ")", value,
                                       base_ + pos_ - width, container_);
    return value;
  }
  void RefuseNegative(int64_t count) const {
    if (count < 0)
      throw FormatError::NegativeCount("the count of " + context_, count, base_ + pos_, container_);
  }

  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  size_t base_ = 0;  // added to offsets in messages, for cursors over part of a file
  std::string context_;
  std::string container_;
};

}  // namespace slab

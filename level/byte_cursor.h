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

// No level comes near this (the largest we know are under 5 MB): a file larger is refused
// before it is read, and a list larger can only come from a damaged count.
inline constexpr uint64_t kMostLevelBytes = uint64_t{64} << 20;

// Damage a reader found: a read past the end of the data (What names what was being read,
// Offset is where the data ran out), a count below zero or one larger than the rest of the data
// can hold (What names the field, Offset is where the count is stored), or parts that disagree
// (What is the whole description). Container names the bytes the offset counts in. LoadLevel
// turns it into a message.
class FormatError : public LevelError {
 public:
  enum class Kind { EndsEarly, NegativeCount, TooLarge, Inconsistent };

  FormatError(std::string what, size_t offset, std::string container = "the file")
      : FormatError(Kind::EndsEarly, what, offset, container, 0, 0,
                    container + " ends inside " + what + ", " + At(offset)) {}

  static FormatError NegativeCount(std::string field, int64_t value, size_t offset,
                                   std::string container = "the file") {
    std::string text = field + " is " + std::to_string(value) + " " + At(offset, container) +
                       "; a count can't be negative";
    return FormatError(Kind::NegativeCount, field, offset, container, value, 0, text);
  }
  // most: how many the rest of the container could hold at best; valueText, when given, says
  // the value instead of the number (a grid's two sides).
  static FormatError TooLarge(std::string field, int64_t value, size_t offset, uint64_t most,
                              std::string container = "the file", std::string valueText = {}) {
    std::string text = field + " is " + (valueText.empty() ? std::to_string(value) : valueText) +
                       " " + At(offset, container) + "; the rest of " +
                       (container == "the file" ? "the file" : "it") + " holds at most " +
                       std::to_string(most);
    return FormatError(Kind::TooLarge, field, offset, container, value, most, text);
  }
  // description is the whole message after "... is damaged: ".
  static FormatError Inconsistent(std::string description, size_t offset,
                                  std::string container = "the file") {
    return FormatError(Kind::Inconsistent, description, offset, container, 0, 0, description);
  }

  std::string ForUser(const std::string& fileName) const override {
    return fileName + " is damaged: " + what();
  }
  // Whether the data simply ran out: cut short, or a count asking for more than is left.
  bool RanOut() const { return ErrorKind == Kind::EndsEarly || ErrorKind == Kind::TooLarge; }

  // "at byte 1500000", with the part of the file the offset counts in when it is not the file.
  static std::string At(size_t offset, const std::string& container = "the file") {
    return "at byte " + std::to_string(offset) +
           (container == "the file" ? "" : " of " + container);
  }

  Kind ErrorKind;
  std::string What;
  size_t Offset;
  std::string Container;
  int64_t Value;  // the count
  uint64_t Most;  // what the rest holds, for a count too large

 private:
  // "the file ends inside the texture pages, at byte 1500000" reads right whether the section's
  // name is singular or plural.
  FormatError(Kind kind, std::string what, size_t offset, std::string container, int64_t value,
              uint64_t most, const std::string& text)
      : LevelError(text),
        ErrorKind(kind),
        What(std::move(what)),
        Offset(offset),
        Container(std::move(container)),
        Value(value),
        Most(most) {}
};

class ByteCursor {
 public:
  // container names the bytes in messages ("the file", "the inflated level data").
  explicit ByteCursor(std::span<const uint8_t> bytes, size_t baseOffset = 0,
                      std::string container = "the file")
      : bytes_(bytes), base_(baseOffset), container_(std::move(container)) {}

  size_t Pos() const { return pos_; }
  // The position in the bytes messages count in (the file, for a cursor over part of it).
  size_t Offset() const { return base_ + pos_; }
  size_t Size() const { return bytes_.size(); }
  size_t Remaining() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }
  std::span<const uint8_t> Bytes() const { return bytes_; }
  // What messages call the bytes: "the file", "the inflated level data".
  const std::string& Container() const { return container_; }

  // Names what the following reads belong to, for the message when one fails.
  void SetContext(std::string context) { context_ = std::move(context); }
  // The bytes before end are known to be all there (zlib checked them, or a stated size
  // says so): a list that runs past the data there is its count's fault, not a cut.
  void SetWholeUntil(size_t end) { wholeUntil_ = end; }
  const std::string& Context() const { return context_; }

  // Throws unless n more bytes are there.
  void Need(size_t n) const {
    if (n > Remaining()) throw EndsEarly();
  }
  // Throws unless count entries of entrySize bytes fit; checked before anything is sized.
  // Straight after the count they follow, a list that does not fit is reported as that count.
  void NeedEntries(uint64_t count, size_t entrySize) const {
    if (entrySize != 0 && count > Remaining() / entrySize) throw TooMany(count, entrySize);
  }

  void Seek(size_t pos) {
    if (pos > bytes_.size()) throw EndsEarly();
    pos_ = pos;
  }

  // The damage "the data ran out": reported at the end of the bytes there are.
  FormatError EndsEarly() const { return FormatError(context_, base_ + bytes_.size(), container_); }
  // A count stored at pos that is more than the rest of the data can hold (at most most).
  FormatError CountTooLarge(std::string_view field, int64_t value, size_t pos,
                            uint64_t most) const {
    return FormatError::TooLarge(std::string(field), value, base_ + pos, most, container_);
  }
  // Parts that disagree: description says what and where (with At).
  FormatError Inconsistent(std::string description, size_t pos) const {
    return FormatError::Inconsistent(std::move(description), base_ + pos, container_);
  }
  // "at byte N" for a position of this cursor, in the bytes messages count in.
  std::string At(size_t pos) const { return FormatError::At(base_ + pos, container_); }

  // A count the file can only hold as zero or more; field names it in the message (the model's
  // field name; the context adds the room or sample it belongs to). field must outlive the
  // cursor's next reads (a literal). Returns it widened, so callers size from it.
  int32_t ReadCount32(std::string_view field) { return CheckedCount(ReadI32(), field, 4); }
  int16_t ReadCount16(std::string_view field) {
    return static_cast<int16_t>(CheckedCount(ReadI16(), field, 2));
  }
  // An unsigned byte count: never negative, but too large is reported as for the others.
  uint32_t ReadCountU32(std::string_view field) {
    const uint32_t value = ReadU32();
    NoteCount(field, value, 4);
    return value;
  }
  // The field as messages name it: with the room or sample it belongs to, when it belongs to one.
  std::string CountName(std::string_view field) const {
    if (context_.empty() || context_.starts_with("the ")) return std::string(field);
    return std::string(field) + " of " + context_;
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
  // n bytes, usually a count's worth: one that does not fit is reported as the count.
  std::span<const uint8_t> Take(size_t n) {
    NeedEntries(n, 1);
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
  // The count just read, kept until the next read so a list that does not fit can name it,
  // and the one before it, for the sector grid that two counts size together.
  struct CountRead {
    std::string_view Field;
    int64_t Value = 0;
    size_t At = 0;
    size_t End = SIZE_MAX;
  };

  int32_t CheckedCount(int32_t value, std::string_view field, size_t width) {
    if (value < 0)
      throw FormatError::NegativeCount(CountName(field), value, base_ + pos_ - width, container_);
    NoteCount(field, value, width);
    return value;
  }
  void NoteCount(std::string_view field, int64_t value, size_t width) {
    previous_ = last_;
    last_ = {field, value, pos_ - width, pos_};
  }

  // count entries of entrySize bytes do not fit in what is left. Straight after its count, a
  // list that cannot be cut short here, or that is larger than any level, is reported as the
  // count; otherwise the data simply ends inside it (a file cut short reads right that way).
  FormatError TooMany(uint64_t count, size_t entrySize) const {
    if (last_.End != pos_ || last_.Value <= 0) return EndsEarly();
    if (pos_ >= wholeUntil_ && count * entrySize <= kMostLevelBytes) return EndsEarly();
    const auto value = static_cast<uint64_t>(last_.Value);
    const uint64_t rest = Remaining();
    if (count != value && previous_.End == last_.At && previous_.Value > 0 &&
        count == static_cast<uint64_t>(previous_.Value) * value)
      return FormatError::TooLarge(
          std::string(previous_.Field) + " by " + CountName(last_.Field),
          previous_.Value * last_.Value, base_ + previous_.At, rest / entrySize, container_,
          std::to_string(previous_.Value) + " by " + std::to_string(value));
    if (count % value != 0) return EndsEarly();
    // A count of words sizes a list of bytes: what is left is told in the count's own units.
    return FormatError::TooLarge(CountName(last_.Field), last_.Value, base_ + last_.At,
                                 rest / (entrySize * (count / value)), container_);
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
  CountRead last_, previous_;
  size_t wholeUntil_ = 0;
};

}  // namespace slab

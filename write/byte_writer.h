// Little-endian output into memory; a level is assembled whole, then saved in one go.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

namespace slab {

class ByteWriter {
 public:
  std::vector<uint8_t>& Bytes() { return bytes_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }

  void WriteBytes(const void* src, size_t n) {
    if (n == 0) return;
    auto* p = static_cast<const uint8_t*>(src);
    bytes_.insert(bytes_.end(), p, p + n);
  }
  void WriteText(std::string_view text) { WriteBytes(text.data(), text.size()); }
  void WriteZeros(size_t n) { bytes_.resize(bytes_.size() + n, 0); }

  template <typename T>
  void Write(T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    WriteBytes(&value, sizeof(T));
  }
  void WriteU8(uint8_t v) { Write(v); }
  void WriteI16(int16_t v) { Write(v); }
  void WriteU16(uint16_t v) { Write(v); }
  void WriteI32(int32_t v) { Write(v); }
  void WriteU32(uint32_t v) { Write(v); }

  // Records whose layout equals the file's, in one move.
  template <typename T>
  void WriteList(std::span<const T> list) {
    static_assert(std::is_trivially_copyable_v<T>);
    WriteBytes(list.data(), list.size_bytes());
  }
  template <typename T>
  void WriteList(const std::vector<T>& list) {
    WriteList(std::span<const T>(list));
  }


 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace slab

// A short fingerprint of a list's content, shown where a whole list differs (a room's
// vertices) so that two reports can be told apart at a glance: 64-bit FNV-1a over the values
// in little-endian order, whatever the machine's order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <type_traits>

namespace slab::diff {

class Digest {
 public:
  template <typename T>
  requires std::is_integral_v<T> Digest& Add(T value) {
    auto bits = static_cast<std::make_unsigned_t<T>>(value);
    for (size_t i = 0; i < sizeof(T); ++i) Byte(static_cast<uint8_t>(bits >> (8 * i)));
    return *this;
  }
  Digest& AddBytes(std::span<const uint8_t> bytes) {
    for (uint8_t b : bytes) Byte(b);
    return *this;
  }
  uint64_t Value() const { return hash_; }

 private:
  void Byte(uint8_t b) {
    hash_ ^= b;
    hash_ *= 0x100000001B3ull;
  }
  uint64_t hash_ = 0xCBF29CE484222325ull;
};

// The digest's first eight hex digits: enough to tell contents apart by eye.
inline std::string DigestText(uint64_t digest) {
  char text[17];
  std::snprintf(text, sizeof text, "%08llx", static_cast<unsigned long long>(digest >> 32));
  return text;
}

}  // namespace slab::diff

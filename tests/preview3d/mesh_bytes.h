// Writes mesh-data words for tests, little-endian, field by field.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace slab::test {

struct MeshBytes {
  std::vector<uint8_t> Bytes;

  MeshBytes& Words(std::initializer_list<int> words) {
    for (int w : words) {
      Bytes.push_back(static_cast<uint8_t>(w & 0xFF));
      Bytes.push_back(static_cast<uint8_t>((w >> 8) & 0xFF));
    }
    return *this;
  }
  MeshBytes& Raw(std::initializer_list<uint8_t> bytes) {
    Bytes.insert(Bytes.end(), bytes);
    return *this;
  }
};

}  // namespace slab::test

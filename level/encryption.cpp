#include "level/encryption.h"

#include <cstring>

namespace slab {

namespace {

void Unscramble(uint8_t* p, BlockKeys keys) {
  const auto& key = kTr4EncryptionTables.Key[keys.Key];
  const auto& map = kTr4EncryptionTables.Map[keys.Map];
  for (size_t i = kShuffledBytes; i < kScrambledBytes; ++i) p[i] ^= key[i];
  std::array<uint8_t, kShuffledBytes> shuffled{};
  for (size_t i = 0; i < kShuffledBytes; ++i) shuffled[map[i]] = p[i];
  for (size_t i = 0; i < kShuffledBytes; ++i) p[i] = shuffled[i] ^ key[i];
}

}  // namespace

std::optional<std::array<size_t, 4>> DecryptLevel(std::span<uint8_t> bytes) {
  std::array<size_t, 4> headers{};
  size_t header = kFirstBlockHeader;
  for (int index = 0; index < 4; ++index) {
    if (header > bytes.size() || bytes.size() - header < 8 + kScrambledBytes) return std::nullopt;
    headers[static_cast<size_t>(index)] = header;
    uint32_t compressedSize;
    std::memcpy(&compressedSize, bytes.data() + header + 4, 4);
    Unscramble(bytes.data() + header + 8, KeysFor(index, compressedSize));
    header += 8 + size_t{compressedSize};
  }
  bytes[3] = 0;
  return headers;
}

}  // namespace slab

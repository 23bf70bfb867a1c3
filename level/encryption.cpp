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

// Deflate, a window of at most 32 KB, a valid check of the two header bytes.
bool StartsZlibStream(const uint8_t* p) {
  const unsigned cmf = p[0], flg = p[1];
  return (cmf & 0x0F) == 8 && (cmf >> 4) <= 7 && (cmf * 256 + flg) % 31 == 0;
}

}  // namespace

bool IsEncryptedLevel(std::span<const uint8_t> bytes) {
  constexpr size_t kFirst = kFirstBlockHeader + 8;
  if (bytes.size() < kFirst + kScrambledBytes || bytes[0] != 'T' || bytes[1] != 'R' ||
      bytes[2] != '4' || bytes[3] != 'c')
    return false;
  uint32_t compressedSize;
  std::memcpy(&compressedSize, bytes.data() + kFirstBlockHeader + 4, 4);
  std::array<uint8_t, kScrambledBytes> first{};
  std::memcpy(first.data(), bytes.data() + kFirst, kScrambledBytes);
  Unscramble(first.data(), KeysFor(0, compressedSize));
  return StartsZlibStream(first.data());
}

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

// Fourth-game levels encrypted by a level-editor add-on: the version word's zero byte becomes
// "c" ("TR4c"), and the first 99 compressed bytes of each of the four chunks are scrambled with
// tables chosen by the chunk's stated compressed size. Headers, sizes and the sound data stay
// as they were, so the scrambling can be undone byte for byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace slab {

inline constexpr size_t kScrambledBytes = 99;
inline constexpr size_t kShuffledBytes = 50;  // the first part, also shuffled by a MAP row

struct EncryptionTables {
  std::array<std::array<uint8_t, kScrambledBytes>, 16> Key;
  std::array<std::array<uint8_t, kShuffledBytes>, 16> Map;  // each row a permutation of 0..49
};
// Generated from data/tr4-encryption-tables.txt at build time.
extern const EncryptionTables kTr4EncryptionTables;

// The first block's header follows the version word and the three page counts. Each block
// is taken for a chunk: its 8-byte header (inflated size, compressed size), then its bytes. In
// a fifth-game file the fourth "header" is the two header words and four padding bytes before
// the level data, which are scrambled the same way.
inline constexpr size_t kFirstBlockHeader = 10;

// The KEY and MAP rows of block `index` (0-3) whose stated compressed size is compressedSize.
struct BlockKeys {
  size_t Key = 0, Map = 0;
};
constexpr BlockKeys KeysFor(int index, uint32_t compressedSize) {
  return {(compressedSize >> (index + 1)) & 15, (compressedSize >> (index + 5)) & 15};
}

// Whether the file is an encrypted level: it starts with "TR4c", and its first chunk starts a
// zlib stream once unscrambled (a plain level given that word does not).
bool IsEncryptedLevel(std::span<const uint8_t> bytes);

// Unscrambles the four blocks of an encrypted file in place, in file order (a short chunk's
// 99 bytes reach into the next header, which is read only once they are put back), and gives
// the version word its zero byte again. Returns where each block's header starts; empty when a
// block does not lie inside the file (the bytes are then partly unscrambled).
std::optional<std::array<size_t, 4>> DecryptLevel(std::span<uint8_t> bytes);

}  // namespace slab

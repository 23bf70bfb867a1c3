// The sprite wad: the ready-made sprites that levels converted from the fourth game carry,
// since the older engines cannot use the fourth game's own.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "level/level.h"
#include "platform/messages.h"

namespace slab {

inline constexpr const char* kSpriteWadName = "TR3.swd";
inline constexpr size_t kWadRowBytes = 256 * 3;              // one row of 256 RGB pixels
inline constexpr size_t kWadPageBytes = kWadRowBytes * 256;  // 196608
// The first word is not read by anything; ours say "SWD" so a file can be recognised.
inline constexpr uint32_t kSpriteWadFirstWord = 0x00445753;

// In file order: first word, counted sprite textures, the image as a byte count and 24-bit
// rows of 256 pixels (red first, (255, 0, 255) transparent), counted sprite sequences. The
// textures' tiles count whole 256-row pages of the image from 0.
struct SpriteWad {
  uint32_t FirstWord = kSpriteWadFirstWord;
  std::vector<SpriteTexture> SpriteTextures;
  std::vector<uint8_t> Image;  // the image byte count is its size
  std::vector<SpriteSequence> SpriteSequences;

  size_t Rows() const { return Image.size() / kWadRowBytes; }
};

// The wad in bytes; on failure empty, with the reason in error.
std::optional<SpriteWad> ParseSpriteWad(std::span<const uint8_t> bytes, std::string& error);

// Reads the wad at path. Any failure, a missing file included, shows "Can't read SWD" (with
// the file and the reason on the next line) and gives nothing: no partial wad is used.
std::optional<SpriteWad> ReadSpriteWad(const std::string& path, MessageSink& messages);

// The same, but a wad that is in neither place shows "Can't read SWD" with the places looked
// in, and gives nothing.
std::optional<std::string> FindSpriteWad(const std::string& programFolder, MessageSink& messages);

std::vector<uint8_t> EncodeSpriteWad(const SpriteWad& wad);

// A wad from a second- or third-game level: its sprite textures with the pages they use
// renumbered from 0 in order of first use, those pages as 24-bit rows from the 16-bit pages,
// and its sprite sequences. Empty with the reason in error for other levels.
std::optional<SpriteWad> MakeSpriteWad(const Level& level, Game gameVersion, std::string& error);

}  // namespace slab

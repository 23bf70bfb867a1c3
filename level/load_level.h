// Reading a level file of any version into a Level.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "level/byte_cursor.h"
#include "level/level.h"
#include "level/level_error.h"
#include "platform/messages.h"

namespace slab {

struct LoadResult {
  Level Lvl;                              // holds only Version when the file was refused
  std::vector<TextureTile> TextureTiles;  // one per object texture
  bool Loaded = false;                    // false: refused, and one message was shown
};

// Decides the version from the first word (and, for "TR4\0", the name's extension), sets
// gameVersion as the level model says (unknown versions leave it unchanged), reads the file
// and converts the texture info. Shows at most one message for a refusal.
LoadResult LoadLevel(const std::filesystem::path& fileName, int& gameVersion,
                     MessageSink& messages);

// The same over bytes already in memory; fileName names the file in messages and decides
// the ".TRC" test.
LoadResult LoadLevelFromBytes(std::span<const uint8_t> bytes, const std::string& fileName,
                              int& gameVersion, MessageSink& messages);

// The game version a first word and a file name stand for: 1-5, 31 for textures only,
// 0 for an unknown word.
int DetectGameVersion(uint32_t versionWord, const std::string& fileName);
// Whether the name ends in ".trc" in any case: the fifth game's files share the fourth's word.
bool EndsInTrc(const std::string& fileName);

// The first- to third-game body after the version word.
void ReadClassicLevel(ByteCursor& cursor, Level& level, int gameVersion);
// The same in three steps, so a caller can put the texture pages straight into their lists:
// the palettes and page count; (the pages: ClassicPagesSize bytes, Textile8 then Textile16);
// everything after the pages.
void ReadClassicHeader(ByteCursor& cursor, Level& level, int gameVersion);
size_t ClassicPagesSize(int32_t numTextiles, int gameVersion);
void ReadClassicRest(ByteCursor& cursor, Level& level, int gameVersion);
// The fourth- and fifth-game bodies are read by ReadTR4Level and ReadTR5Level
// (level/read_tr45.h).

}  // namespace slab

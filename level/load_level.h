// Reading a level file of any version into a Level.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
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
  // The game the first word stands for, set even when the rest was refused (a textures-only
  // file gives Game::TexturesOnly). Empty when there was no word to read or it stands for no
  // game: the caller keeps the game it had, so take it with DetectedGame.value_or(kept).
  std::optional<Game> DetectedGame;
  bool Loaded = false;  // false: refused, and one message was shown
  // A note for the status bar once the level is open, empty when there is none: the file was
  // read as another game than its name's extension says.
  std::string Note;
};

// Decides the game from the first word (and, for "TR4\0", the name's extension, unless the
// content is the other game's), reads the file and converts the texture info. An encrypted
// fourth-game file ("TR4c") is unscrambled and read for viewing (Level::Encrypted). Shows at
// most one message for a refusal.
LoadResult LoadLevel(const std::filesystem::path& fileName, MessageSink& messages);

// The same over bytes already in memory; fileName names the file in messages and decides
// the ".TRC" test.
LoadResult LoadLevelFromBytes(std::span<const uint8_t> bytes, const std::string& fileName,
                              MessageSink& messages);

// The game a first word and a file name stand for; empty for an unknown word.
std::optional<Game> DetectGameVersion(uint32_t versionWord, const std::string& fileName);
// The first four bytes of a file (fewer when it is shorter) and what starts that way, for
// messages: '54 52 34 63 ("TR4c"), as an encrypted level does'.
std::string StartOfFile(std::span<const uint8_t> bytes, const std::string& fileName);
// Whether the name ends in ".trc" in any case: the fifth game's files share the fourth's word.
bool EndsInTrc(const std::string& fileName);

// The first- to third-game body after the version word.
void ReadClassicLevel(ByteCursor& cursor, Level& level, Game gameVersion);
// The same in three steps, so a caller can put the texture pages straight into their lists:
// the palettes and page count; (the pages: ClassicPagesSize bytes, Textile8 then Textile16);
// everything after the pages.
void ReadClassicHeader(ByteCursor& cursor, Level& level, Game gameVersion);
size_t ClassicPagesSize(int32_t numTextiles, Game gameVersion);
void ReadClassicRest(ByteCursor& cursor, Level& level, Game gameVersion);
// The fourth- and fifth-game bodies are read by ReadTR4Level and ReadTR5Level
// (level/read_tr45.h).

}  // namespace slab

// The names of objects (per game version) and of static meshes, read once at start-up from
// "TR4Objects.dat" in the program's folder.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "level/game.h"
#include "platform/messages.h"

namespace slab {

inline constexpr char kObjectNamesFile[] = "TR4Objects.dat";
inline constexpr int kMaxObjectId = 500;
inline constexpr int kMaxStaticId = 89;
inline constexpr int kNameVersions = 6;  // game versions 0..5; 0 never gets names

struct ObjectNames {
  // Objects[id][version]; empty where the file gives no name.
  std::vector<std::array<std::string, kNameVersions>> Objects =
      std::vector<std::array<std::string, kNameVersions>>(kMaxObjectId + 1);
  // The fourth game's static names, "Mesh N" where the file gives no name. Every game reads
  // them when the file has no table of its own for that game.
  std::array<std::string, kMaxStaticId + 1> Statics = DefaultStaticNames();
  // The static names of games 1, 2, 3 and 5 where the file holds their tables: their slots
  // differ from the fourth game's (no shatter slots up to the third game, for one).
  std::array<std::optional<std::array<std::string, kMaxStaticId + 1>>, kNameVersions> GameStatics;

  static std::array<std::string, kMaxStaticId + 1> DefaultStaticNames();
};

// The file's layout, every integer 32-bit little-endian, every text a length and that many
// bytes: the fourth game's names (count, texts), the static names (count, texts), then for
// the versions 3, 2, 1 and 5 a count and entries of a text and one unused number.
// After them the file may go on with the static names of the versions 3, 2, 1 and 5, each a
// count and texts, an empty text leaving "Mesh N"; a file that ends before such a section
// has no table for that version. Entries above the tables' ranges are read and dropped.
// A file that ends at a count reads as if the rest were zeros; one that ends inside a text
// or holds a negative count is reported through messages, naming fileName, and keeps the
// names read before the fault.
ObjectNames ParseObjectNames(std::span<const uint8_t> bytes, const std::string& fileName,
                             MessageSink& messages);

// Reads kObjectNamesFile from the program's folder, or from the installed data folder
// relative to it (platform/data_paths.h). A missing file gives empty names and the "Mesh N"
// statics without a message; nothing is ever created in the folder.
ObjectNames LoadObjectNames(const std::filesystem::path& folder, MessageSink& messages);

// The name of an object id for a game version, or nothing when either is outside the table.
std::optional<std::string_view> ObjectName(const ObjectNames& names, int objectId,
                                           Game gameVersion);

// The name of a static mesh id in a level of gameVersion: from that game's table when the
// file has one, else from the fourth game's. Ids outside the table read "Mesh N" like
// unnamed ones.
std::string StaticName(const ObjectNames& names, int staticId, Game gameVersion);

}  // namespace slab

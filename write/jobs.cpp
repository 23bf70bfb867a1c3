#include "write/jobs.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "level/load_level.h"
#include "write/convert_tr4.h"
#include "write/save_file.h"
#include "write/sprite_wad.h"

namespace slab {

namespace {

// A job cannot ask: it says before writing that the file's other names keep the old content.
void NoteOtherNames(const std::string& path, MessageSink& messages) {
  const std::string note = HardLinkNote(path, InspectSaveTarget(path));
  if (!note.empty()) messages.Show(note);
}

}  // namespace

bool AddDemoJob(const std::string& path, MessageSink& messages, const std::string& programFolder,
                ProcessRunner& runner) {
  LoadResult loaded = LoadLevel(path, messages);
  // Writing a refused level would replace the file with its bare version word.
  if (!loaded.Loaded) return false;
  NoteOtherNames(path, messages);
  SaveResult saved =
      WriteLevel(path, loaded.Lvl, loaded.DetectedGame.value_or(Game::TR2),
                 std::filesystem::path(path).filename().string(), programFolder, runner);
  if (!saved.Ok()) {
    messages.Show(saved.Reason());
    return false;
  }
  return true;
}

std::string ConvertedFileName(const std::string& path) {
  return path.substr(0, path.size() >= 3 ? path.size() - 3 : 0) + "tr2";
}

namespace {

std::string BareName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// The whole file, or empty with a message naming it.
std::optional<std::vector<uint8_t>> ReadLevelFile(const std::string& path, MessageSink& messages) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::string reason;
  if (!fs::exists(path, ec)) {
    reason = "the file does not exist";
  } else if (fs::is_directory(path, ec)) {
    reason = "it is a folder";
  } else {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    if (in && !in.bad()) return bytes;
    reason = errno != 0 ? std::strerror(errno) : "it cannot be read";
  }
  messages.Show(BareName(path) + " can't be opened: " + reason + ".");
  return std::nullopt;
}

}  // namespace

bool ConvertLevelFile(const std::string& inPath, const std::string& outPath, Game targetVersion,
                      const std::string& wadPath, MessageSink& messages) {
  auto wad = ReadSpriteWad(wadPath, messages);
  if (!wad) return false;
  auto bytes = ReadLevelFile(inPath, messages);
  if (!bytes) return false;
  auto level = ConvertTR4Level(*bytes, inPath, targetVersion, *wad, messages);
  if (!level) return false;
  // A fourth-game level named like its output would be replaced by its conversion.
  std::error_code ec;
  if (std::filesystem::exists(outPath, ec) && std::filesystem::equivalent(inPath, outPath, ec)) {
    messages.Show(BareName(inPath) + " can't be converted: its converted level " + outPath +
                  " would replace it.");
    return false;
  }
  NoteOtherNames(outPath, messages);
  SystemProcessRunner unused;  // second- and third-game files need no finisher
  SaveResult saved = WriteLevel(outPath, *level, targetVersion, BareName(outPath), {}, unused);
  if (!saved.Ok()) {
    messages.Show(saved.Reason());
    return false;
  }
  return true;
}

bool ConvertJob(const std::string& path, Game targetVersion, const std::string& programFolder,
                MessageSink& messages) {
  const std::optional<std::string> wad = FindSpriteWad(programFolder, messages);
  return wad && ConvertLevelFile(path, ConvertedFileName(path), targetVersion, *wad, messages);
}

}  // namespace slab

// roundtrip: read a level, write it back, and compare with the original file.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/cli_common.h"
#include "write/finish_tr4.h"
#include "write/write_level.h"

namespace slab::cli {

namespace {

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Compressed streams differ with the compressor, so fourth-game files are compared on their
// inflated chunks and the bytes around them.
int CompareTR4(const Level& level, const std::vector<uint8_t>& original, MessageSink& messages) {
  std::vector<uint8_t> finished;
  SaveResult finishedOk = FinishTR4(EncodeTR4Intermediate(level), finished);
  TR4FileParts mine, theirs;
  if (finishedOk.Ok()) finishedOk = SplitTR4File(finished, mine);
  std::string error = finishedOk.Reason();
  // The original may be damaged: its chunks are inflated no further than ours.
  if (error.empty()) error = SplitTR4File(original, theirs, &mine).Reason();
  if (!error.empty()) {
    messages.Show("can't be compared: " + error);
    return kExitFailed;
  }
  static const char* kNames[] = {"the 32-bit pages", "the 16-bit pages", "the further pages",
                                 "the level data"};
  auto compare = [](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                    const std::string& section) {
    size_t n = std::min(a.size(), b.size()), at = 0;
    while (at < n && a[at] == b[at]) ++at;
    if (at == n && a.size() == b.size()) return true;
    std::cout << "differs in " << section << " at byte " << at << " (written " << a.size()
              << " bytes, original " << b.size() << ")\n";
    return false;
  };
  bool same = compare(mine.Header, theirs.Header, "the header");
  for (size_t i = 0; same && i < 4; ++i)
    same = compare(mine.Chunks[i], theirs.Chunks[i], kNames[i]);
  same = same && compare(mine.Rest, theirs.Rest, "the samples and what follows them");
  if (same) std::cout << "identical\n";
  return same ? kExitOk : kExitFailed;
}

int RoundTrip(const std::string& path) {
  FileMessages messages(path);
  auto loaded = LoadForCli(path, messages);
  if (!loaded) return kExitFailed;
  const Game game = loaded->GameVersion;
  if (game == Game::TR5) {
    messages.Show("TR5 levels can't be saved at the moment!");
    return kExitFailed;
  }
  auto original = ReadWholeFile(path);
  if (game == Game::TR4) return CompareTR4(loaded->Result.Lvl, original, messages);
  std::vector<FileSection> sections;
  auto written = EncodeClassicLevel(loaded->Result.Lvl, game, &sections);
  size_t n = std::min(written.size(), original.size());
  size_t at = 0;
  while (at < n && written[at] == original[at]) ++at;
  if (at == n && written.size() == original.size()) {
    std::cout << "identical\n";
    return kExitOk;
  }
  std::string section = "what follows the level";
  if (at < written.size())
    for (const FileSection& s : sections)
      if (s.Offset <= at) section = s.Name;
  std::cout << "differs at byte " << at << ", in " << section << " (written " << written.size()
            << " bytes, original " << original.size() << ")\n";
  return kExitFailed;
}

}  // namespace

void AddRoundTripCommand(CLI::App& app, Job& job) {
  auto* cmd = app.add_subcommand(
      "roundtrip", "Read a level, write it back and compare with the file (exit 0 when identical)");
  auto file = std::make_shared<std::string>();
  cmd->add_option("FILE", *file, "Level file")->required();
  cmd->callback([&job, file] { job = [file] { return RoundTrip(*file); }; });
}

}  // namespace slab::cli

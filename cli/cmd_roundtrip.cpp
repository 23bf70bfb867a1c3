// roundtrip: read a level, write it back, and compare with the original file.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/cli_common.h"
#include "write/write_level.h"

namespace slab::cli {

namespace {

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int RoundTrip(const std::string& path) {
  StderrSink messages;
  auto loaded = LoadForCli(path, messages);
  if (!loaded) return kExitFailed;
  const int game = loaded->GameVersion;
  if (game > kTR3) {
    std::cerr << "roundtrip: fourth- and fifth-game levels are not written yet\n";
    return kExitFailed;
  }
  auto written = EncodeClassicLevel(loaded->Result.Lvl, game);
  auto original = ReadWholeFile(path);
  size_t n = std::min(written.size(), original.size());
  size_t at = 0;
  while (at < n && written[at] == original[at]) ++at;
  if (at == n && written.size() == original.size()) {
    std::cout << "identical\n";
    return kExitOk;
  }
  std::cout << "differs at byte " << at << " (written " << written.size() << " bytes, original "
            << original.size() << ")\n";
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

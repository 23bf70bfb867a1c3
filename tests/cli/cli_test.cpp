// slabwright-cli run as a user runs it: exit statuses (0 done, 1 usage error, 2 file refused or
// job failed), what it prints, and every message on standard error naming its file once.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "support/compose_classic.h"
#include "support/compose_tr45.h"
#include "support/real_levels.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class Cli : public test::TempFolderTest {
 protected:
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    test::WriteBytes(dir_ / name, bytes);
  }
  std::string Text(const std::string& name) {
    const auto bytes = test::ReadFile(dir_ / name);
    return {bytes.begin(), bytes.end()};
  }

  // Runs the tool with the arguments; returns its exit status and keeps what it printed.
  int Run(const std::string& arguments) {
    const std::string command = "cd '" + dir_.string() + "' && '" + SLAB_CLI_PROGRAM + "' " +
                                arguments + " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    stdout_ = Text("stdout.txt");
    stderr_ = Text("stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string stdout_, stderr_;
};

TEST_F(Cli, ExitStatusesMessagesAndRoundtripsFirstDifference) {
  const auto tr2 = test::ComposeClassic(test::SampleDraft(Game::TR2));
  Write("fine.tr2", tr2.Bytes);
  auto longer = tr2.Bytes;
  longer.insert(longer.end(), 5, 0);
  Write("long.tr2", longer);
  auto unknown = tr2.Bytes;
  std::memset(unknown.data(), 0x77, 4);
  Write("lake.tr4", unknown);
  Write("cut.tr2", tr2.Truncated(5000));
  Write("fine.trc", test::ComposeTR5(test::SampleTr5Draft()).Bytes);
  test::Tr4Draft draft = test::SampleTr4Draft();
  draft.Data.MeshPointers.clear();  // the sample's mesh words are no meshes to convert
  auto tr4 = test::ComposeTR4(draft);
  Write("a.tr4", tr4.Bytes);
  // A first chunk stating a thousand times its stream: roundtrip will not trust the size.
  uint32_t packed;
  std::memcpy(&packed, tr4.Bytes.data() + tr4.ChunkAt[0] + 4, 4);
  const uint32_t stated = packed * 1000;
  std::memcpy(tr4.Bytes.data() + tr4.ChunkAt[0], &stated, 4);
  Write("forged.tr4", tr4.Bytes);

  // The composer's closing bytes of the level data are not the writer's.
  const size_t data = tr4.LevelData.Bytes.size();
  const std::string size = std::to_string(tr2.Bytes.size());
  const std::string extra =
      "has 5 bytes after its last section; they are not part of the level "
      "and are left out\n";
  const struct {
    std::string Arguments;
    int Exit;
    std::string Stderr;                      // the start of it; empty: nothing at all
    std::optional<std::string> Stdout = {};  // compared when given
  } cases[] = {
      {"", 1, ""},
      {"no-such-command fine.tr2", 1, ""},
      {"map fine.tr2 --room 0", 1, ""},  // no output named
      {"info fine.tr2", 0, ""},
      {"triggers long.tr2", 0, "long.tr2 " + extra},
      // A message's detail follows it on its line.
      {"info '" + (dir_ / "lake.tr4").string() + "'", 2,
       "lake.tr4: Unknown TR version! The file starts with 77 77 77 77 (\"wwww\"), as no "
       "level does.\n"},
      {"triggers cut.tr2", 2,
       "cut.tr2 is damaged: the file ends inside the texture pages, at byte 5000\n"},
      {"roundtrip fine.tr2", 0, "", "identical\n"},
      {"roundtrip long.tr2", 2, "long.tr2 " + extra,
       "differs at byte " + size + ", in what follows the level (written " + size +
           " bytes, original " + std::to_string(longer.size()) + ")\n"},
      {"roundtrip a.tr4", 2, "",
       "differs in the level data at byte " + std::to_string(data - 6) + " (written " +
           std::to_string(data) + " bytes, original " + std::to_string(data) + ")\n"},
      {"roundtrip fine.trc", 2, "fine.trc: TR5 levels can't be saved at the moment!\n", ""},
      {"roundtrip missing.tr2", 2, "missing.tr2", ""},
      {"roundtrip forged.tr4", 2,
       "forged.tr4's texture pages are damaged; they show as far as they could be read. The "
       "32-bit texture chunk does not inflate (262144 of " +
           std::to_string(stated) +
           " bytes).\n"
           "forged.tr4: can't be compared: chunk 1 does not inflate to the size it states",
       ""},
  };
  ASSERT_EQ(Run("make-swd fine.tr2 -o TR3.swd"), 0) << stderr_;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments);
    EXPECT_EQ(Run(c.Arguments), c.Exit) << stderr_;
    if (c.Exit == 1) continue;
    EXPECT_EQ(stderr_.rfind(c.Stderr, 0), 0u) << stderr_;
    EXPECT_TRUE(!c.Stderr.empty() || stderr_.empty()) << stderr_;
    EXPECT_EQ(stdout_, c.Stdout.value_or(stdout_));
  }

  // A fourth-game level converted for the third game reads back as one.
  ASSERT_EQ(Run("convert --to tr3 a.tr4 --swd TR3.swd -o out.tr2"), 0) << stderr_;
  EXPECT_EQ(Run("roundtrip out.tr2"), 0) << stdout_ << stderr_;
}

// PNG width and height, from the header chunk.
std::pair<uint32_t, uint32_t> PngSize(const fs::path& path) {
  const auto head = test::ReadFile(path);
  if (head.size() < 24) return {};
  auto be = [&](int at) {
    return uint32_t{head[at]} << 24 | uint32_t{head[at + 1]} << 16 | uint32_t{head[at + 2]} << 8 |
           head[at + 3];
  };
  return {be(16), be(20)};
}

TEST_F(Cli, MapScaleRepeatsEachPixelAndIsAWholeFactorUpTo16) {
  Write("a.tr2", test::ComposeClassic(test::SampleDraft(Game::TR2)).Bytes);
  ASSERT_EQ(Run("map a.tr2 --room 0 -o one.png"), 0) << stderr_;
  ASSERT_EQ(Run("map a.tr2 --room 0 -o three.png --scale 3 --select 1,1"), 0) << stderr_;
  const auto [w, h] = PngSize(dir_ / "one.png");
  EXPECT_EQ(PngSize(dir_ / "three.png"), std::make_pair(3 * w, 3 * h));
  ASSERT_EQ(Run("map a.tr2 --all -o rooms --scale 16"), 0) << stderr_;
  EXPECT_EQ(PngSize(dir_ / "rooms" / "room_0.png"), std::make_pair(16 * w, 16 * h));
  for (const char* bad : {"0", "17", "2.5"}) {
    EXPECT_EQ(Run(std::string("map a.tr2 --room 0 -o bad.png --scale ") + bad), 1) << bad;
    EXPECT_FALSE(fs::exists(dir_ / "bad.png")) << bad;
  }
}

}  // namespace
}  // namespace slab

// slabwright-cli run as a user runs it: exit statuses, and every message on standard error
// naming the file it is about, once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/compose_classic.h"
#include "support/compose_tr45.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class Cli : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("slab_cli_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    test::WriteBytes(dir_ / name, bytes);
    return dir_ / name;
  }

  // Runs the tool with the arguments; returns its exit status and keeps its standard error.
  int Run(const std::string& arguments) {
    const std::string command = "cd '" + dir_.string() + "' && '" + SLAB_CLI_PROGRAM + "' " +
                                arguments + " >/dev/null 2>stderr.txt";
    const int status = std::system(command.c_str());
    std::ifstream in(dir_ / "stderr.txt");
    std::stringstream text;
    text << in.rdbuf();
    stderr_ = text.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir_;
  std::string stderr_;
};

TEST_F(Cli, EveryMessageNamesTheFileOnce) {
  auto tr2 = test::ComposeClassic(test::SampleDraft(kTR2));
  auto longer = tr2.Bytes;
  longer.insert(longer.end(), 5, 0);
  auto unknown = tr2.Bytes;
  std::memset(unknown.data(), 0x77, 4);
  test::Tr5Draft tr5 = test::SampleTr5Draft();
  tr5.Rooms[0].Marker = {'X', 'E', 'L', 'B'};
  struct Case {
    const char* Name;
    std::vector<uint8_t> Bytes;
    int Exit;
    std::string Stderr;  // the start of it
  };
  const Case cases[] = {
      {"fine.tr2", tr2.Bytes, 0, ""},
      {"long.tr2", longer, 0,
       "long.tr2 has 5 bytes after its last section; they are not part of the level and are "
       "left out\n"},
      {"lake.tr4", unknown, 2, "lake.tr4: Unknown TR version!\n"},
      {"bad.trc", test::ComposeTR5(tr5).Bytes, 2, "bad.trc: BAD Room!\n"},
      {"cut.tr2", tr2.Truncated(5000), 2,
       "cut.tr2 is damaged: the file ends inside the texture pages, at byte 5000\n"},
      {"neg.tr2", tr2.WithCount("NumTextiles", 0xFFFFFFFF), 2,
       "neg.tr2 is damaged: NumTextiles (the texture page count) is -1 at byte 1796"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Write(c.Name, c.Bytes);
    for (const char* command : {"info", "triggers"}) {
      EXPECT_EQ(Run(std::string(command) + " " + c.Name), c.Exit) << command;
      EXPECT_EQ(stderr_.rfind(c.Stderr, 0), 0u) << command << ": " << stderr_;
      if (c.Stderr.empty()) {
        EXPECT_EQ(stderr_, "") << command;
      }
    }
  }
  // A path as given: the message names the file, not the folder.
  EXPECT_EQ(Run("info '" + (dir_ / "lake.tr4").string() + "'"), 2);
  EXPECT_EQ(stderr_, "lake.tr4: Unknown TR version!\n");
  // The tool's own fixed texts, too.
  EXPECT_EQ(Run("roundtrip bad.trc"), 2);
  EXPECT_EQ(stderr_, "bad.trc: BAD Room!\n");
  EXPECT_EQ(Run("make-swd fine.tr2 -o TR3.swd"), 0) << stderr_;
  EXPECT_EQ(Run("convert --to tr3 fine.tr2 --swd TR3.swd -o out.tr2"), 2);
  EXPECT_EQ(stderr_, "fine.tr2: No TR4 Level!\n");

  // A fourth-game file whose first chunk states a size a thousand times its stream: read with
  // its pages damaged; roundtrip refuses to compare rather than trust the size.
  auto tr4 = test::ComposeTR4(test::SampleTr4Draft());
  uint32_t packed;
  std::memcpy(&packed, tr4.Bytes.data() + tr4.ChunkAt[0] + 4, 4);
  const uint32_t stated = packed * 1000;
  std::memcpy(tr4.Bytes.data() + tr4.ChunkAt[0], &stated, 4);
  Write("forged.tr4", tr4.Bytes);
  EXPECT_EQ(Run("info forged.tr4"), 0);
  EXPECT_EQ(stderr_,
            "forged.tr4's texture pages are damaged; they show as far as they could be "
            "read\n");
  EXPECT_EQ(Run("roundtrip forged.tr4"), 2);
  EXPECT_NE(stderr_.find("forged.tr4: can't be compared: chunk 1 does not inflate to the size it "
                         "states"),
            std::string::npos)
      << stderr_;
}

// PNG width and height, from the header chunk.
std::pair<uint32_t, uint32_t> PngSize(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  uint8_t head[24] = {};
  in.read(reinterpret_cast<char*>(head), sizeof head);
  auto be = [&](int at) {
    return uint32_t{head[at]} << 24 | uint32_t{head[at + 1]} << 16 | uint32_t{head[at + 2]} << 8 |
           head[at + 3];
  };
  return {be(16), be(20)};
}

TEST_F(Cli, MapScaleRepeatsEachPixelAndIsAWholeFactorUpTo16) {
  Write("a.tr2", test::ComposeClassic(test::SampleDraft(kTR2)).Bytes);
  ASSERT_EQ(Run("map a.tr2 --room 0 -o one.png"), 0) << stderr_;
  ASSERT_EQ(Run("map a.tr2 --room 0 -o three.png --scale 3 --select 1,1"), 0) << stderr_;
  const auto [w, h] = PngSize(dir_ / "one.png");
  EXPECT_EQ(PngSize(dir_ / "three.png"), std::make_pair(3 * w, 3 * h));
  ASSERT_EQ(Run("map a.tr2 --all -o rooms --scale 16"), 0) << stderr_;
  EXPECT_EQ(PngSize(dir_ / "rooms" / "room_0.png"), std::make_pair(16 * w, 16 * h));
  for (const char* bad : {"0", "17", "2.5", "x"}) {
    EXPECT_EQ(Run(std::string("map a.tr2 --room 0 -o bad.png --scale ") + bad), 1) << bad;
    EXPECT_FALSE(fs::exists(dir_ / "bad.png")) << bad;
  }
}

}  // namespace
}  // namespace slab

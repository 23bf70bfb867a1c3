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

  std::string Text(const std::string& name) {
    std::ifstream in(dir_ / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
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

  fs::path dir_;
  std::string stdout_, stderr_;
};

TEST_F(Cli, EveryMessageNamesTheFileOnce) {
  auto tr2 = test::ComposeClassic(test::SampleDraft(Game::TR2));
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

// Exit 0 when done, 1 for a usage error, 2 when the file was refused or the job failed;
// roundtrip names the first byte that differs and the section it lies in.
TEST_F(Cli, ExitStatusesRoundtripAndConvert) {
  auto tr2 = test::ComposeClassic(test::SampleDraft(Game::TR2));
  Write("fine.tr2", tr2.Bytes);
  auto longer = tr2.Bytes;
  longer.insert(longer.end(), 5, 0);
  Write("long.tr2", longer);
  test::Tr4Draft tr4 = test::SampleTr4Draft();
  tr4.Data.MeshPointers.clear();  // the sample's mesh words are no meshes to convert
  const auto tr4File = test::ComposeTR4(tr4);
  Write("a.tr4", tr4File.Bytes);
  // The composer's closing bytes of the level data are not the writer's.
  const size_t data = tr4File.LevelData.Bytes.size();
  Write("fine.trc", test::ComposeTR5(test::SampleTr5Draft()).Bytes);
  const std::string size = std::to_string(tr2.Bytes.size());
  const struct {
    std::string Arguments;
    int Exit;
    std::string Stdout, Stderr;
  } cases[] = {
      {"", 1, "", ""},
      {"no-such-command fine.tr2", 1, "", ""},
      {"map fine.tr2 --room 0", 1, "", ""},  // no output named
      {"roundtrip fine.tr2", 0, "identical\n", ""},
      {"roundtrip a.tr4", 2,
       "differs in the level data at byte " + std::to_string(data - 6) + " (written " +
           std::to_string(data) + " bytes, original " + std::to_string(data) + ")\n",
       ""},
      {"roundtrip long.tr2", 2,
       "differs at byte " + size + ", in what follows the level (written " + size +
           " bytes, original " + std::to_string(longer.size()) + ")\n",
       "long.tr2 has 5 bytes after its last section; they are not part of the level and are "
       "left out\n"},
      {"roundtrip fine.trc", 2, "", "fine.trc: TR5 levels can't be saved at the moment!\n"},
      {"roundtrip missing.tr2", 2, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments);
    EXPECT_EQ(Run(c.Arguments), c.Exit) << stderr_;
    if (c.Exit != 1) {
      EXPECT_EQ(stdout_, c.Stdout);
      if (!c.Stderr.empty()) {
        EXPECT_EQ(stderr_, c.Stderr);
      }
    }
  }
  EXPECT_NE(stderr_.find("missing.tr2"), std::string::npos) << stderr_;

  // A fourth-game level converted for the third game reads back as one.
  ASSERT_EQ(Run("make-swd fine.tr2 -o TR3.swd"), 0) << stderr_;
  ASSERT_EQ(Run("convert --to tr3 a.tr4 --swd TR3.swd -o out.tr2"), 0) << stderr_;
  EXPECT_EQ(Run("roundtrip out.tr2"), 0) << stdout_ << stderr_;
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
  Write("a.tr2", test::ComposeClassic(test::SampleDraft(Game::TR2)).Bytes);
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

// slabwright-cli run as a user runs it: exit statuses (0 done, 1 usage error, 2 file refused or
// job failed), what it prints, and every message on standard error naming its file once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>

#include "tools/compose_tr45.h"
#include "support/real_levels.h"
#include "tools/compose_classic.h"
#include "tools/showcase_level.h"

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
  // `as` goes before the program, to run it as another account.
  int Run(const std::string& arguments, const std::string& as = {}) {
    const std::string command = "cd '" + dir_.string() + "' && " + as + " '" + SLAB_CLI_PROGRAM +
                                "' " + arguments + " >stdout.txt 2>stderr.txt";
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
       "32-bit texture chunk does not inflate to its stated " +
           std::to_string(stated) + " bytes: its " + std::to_string(packed) +
           " compressed bytes give 262144 and end there.\n"
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

// The window's removal for scripts: refused while triggers name the item, unless asked to take
// their actions too; the written level reads back whole.
TEST_F(Cli, RemoveItemTakesTheActionsNamingItOnlyWhenAsked) {
  Write("a.tr2", test::ComposeClassic(test::ShowcaseDraft()).Bytes);
  EXPECT_EQ(Run("remove-item a.tr2 3 -o out.tr2"), 2);
  EXPECT_EQ(stderr_,
            "a.tr2: Item 3 is named by 2 trigger actions (Room 0, sector 4,1; Room 1, sector "
            "1,2), so it was not removed. Give --with-actions to remove those actions too.\n");
  EXPECT_FALSE(fs::exists(dir_ / "out.tr2"));
  EXPECT_EQ(Run("remove-item a.tr2 99 -o out.tr2"), 2);
  EXPECT_EQ(stderr_, "a.tr2: There is no entity 99 in this level.\n");

  ASSERT_EQ(Run("remove-item a.tr2 3 --with-actions -o out.tr2"), 0) << stderr_;
  EXPECT_EQ(stdout_, "Removed Item 3: 2 trigger actions removed, 3 renumbered. Wrote out.tr2\n");
  EXPECT_EQ(Run("roundtrip out.tr2"), 0) << stdout_ << stderr_;
  ASSERT_EQ(Run("info out.tr2"), 0);
  EXPECT_NE(stdout_.find("NumItems: 7\n"), std::string::npos) << stdout_;
}

// Arguments and JSON fields count sectors from 0; beside them stands the sector as the
// window's caption reads it.
TEST_F(Cli, SectorsAreGivenFrom0AndAsTheCaptionReadsThem) {
  test::WriteShowcaseLevel(dir_ / "show.tr2");
  ASSERT_EQ(Run("triggers show.tr2"), 0) << stderr_;
  EXPECT_NE(stdout_.find("\nroom 0 a 2 b 5 [Sector 1,4]: SWITCH for CAMERA 0\n"), std::string::npos)
      << stdout_;
  ASSERT_EQ(Run("triggers show.tr2 --json"), 0) << stderr_;
  const auto triggers = nlohmann::json::parse(stdout_);
  bool found = false;
  for (const auto& sector : triggers["sectors"])
    if (sector["room"] == 0 && sector["a"] == 2 && sector["b"] == 5)
      found = sector["sector_label"] == "1,4";
  EXPECT_TRUE(found) << stdout_;

  ASSERT_EQ(Run("sector show.tr2 0 0 0 --json"), 0) << stderr_;
  const auto corner = nlohmann::json::parse(stdout_);
  EXPECT_EQ(
      std::tuple(corner["a"], corner["b"], corner["sector_label"], corner["Sectors"]["SecInf"]),
      std::tuple(0, 0, "-1,-1", "Sector Info [Sector -1,-1]"));
}

// Every job that writes follows a link to its target, leaves a read-only file alone and says
// which other names keep the old content. The trailing bytes a rewrite drops show where it went.
TEST_F(Cli, WritingJobsFollowLinksRefuseReadOnlyFilesAndNoteOtherNames) {
  const auto tr2 = test::ComposeClassic(test::SampleDraft(Game::TR2)).Bytes;
  auto longer = tr2;
  longer.insert(longer.end(), 5, 0);
  for (const char* name : {"real.tr2", "locked.tr2", "named.tr2"}) Write(name, longer);
  fs::create_symlink("real.tr2", dir_ / "link.tr2");
  fs::permissions(dir_ / "locked.tr2", fs::perms(0444));
  fs::create_hard_link(dir_ / "named.tr2", dir_ / "other.tr2");

  EXPECT_EQ(Run("adddemo link.tr2"), 0) << stderr_;
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.tr2"));
  EXPECT_EQ(test::ReadFile(dir_ / "real.tr2"), tr2);

  EXPECT_EQ(Run("adddemo locked.tr2"), 2);
  EXPECT_EQ(stderr_.substr(stderr_.find('\n') + 1),
            "locked.tr2 could not be saved: it is read-only.\n");
  EXPECT_EQ(test::ReadFile(dir_ / "locked.tr2"), longer);

  EXPECT_EQ(Run("adddemo named.tr2"), 0) << stderr_;
  EXPECT_NE(stderr_.find("named.tr2 has 1 other name (hard link); it will keep the old content.\n"),
            std::string::npos)
      << stderr_;
  EXPECT_EQ(test::ReadFile(dir_ / "named.tr2"), tr2);
  EXPECT_EQ(test::ReadFile(dir_ / "other.tr2"), longer);

  fs::create_directories(dir_ / "wads");
  Write("wads/TR3.swd", {1, 2, 3});
  fs::create_symlink("wads/TR3.swd", dir_ / "TR3.swd");
  ASSERT_EQ(Run("make-swd real.tr2 -o TR3.swd"), 0) << stderr_;
  EXPECT_TRUE(fs::is_symlink(dir_ / "TR3.swd"));
  EXPECT_GT(test::ReadFile(dir_ / "wads" / "TR3.swd").size(), 3u);

  test::Tr4Draft draft = test::SampleTr4Draft();
  draft.Data.MeshPointers.clear();  // the sample's mesh words are no meshes to convert
  Write("a.tr4", test::ComposeTR4(draft).Bytes);
  for (const char* out : {"locked.tr2", "TR3.swd"}) fs::permissions(dir_ / out, fs::perms(0444));
  EXPECT_EQ(Run("convert --to tr3 a.tr4 --swd TR3.swd -o locked.tr2"), 2);
  EXPECT_NE(stderr_.find("locked.tr2 could not be saved: it is read-only."), std::string::npos)
      << stderr_;
  EXPECT_EQ(test::ReadFile(dir_ / "locked.tr2"), longer);
  EXPECT_EQ(Run("make-swd real.tr2 -o TR3.swd"), 2);
  EXPECT_EQ(stderr_, "TR3.swd could not be written: it is read-only\n");
}

// What the account running the tool may not write stays as it is, even where the folder would
// let it replace the file (only the folder's permission counts for a rename).
TEST_F(Cli, AnAccountThatMayNotWriteAFileCannotReplaceIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run the tool as another account";
  if (std::system("command -v setpriv >/dev/null") != 0)
    GTEST_SKIP() << "setpriv is not installed, so the tool cannot run as another account";
  const std::string nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";
  if (Run("--help", nobody) != 0)
    GTEST_SKIP() << "the account nobody cannot run " << SLAB_CLI_PROGRAM;
  auto longer = test::ComposeClassic(test::SampleDraft(Game::TR2)).Bytes;
  longer.insert(longer.end(), 5, 0);
  Write("roots.tr2", longer);
  fs::permissions(dir_, fs::perms::all);
  EXPECT_EQ(Run("adddemo roots.tr2", nobody), 2);
  EXPECT_NE(stderr_.find("roots.tr2 could not be saved: it is read-only."), std::string::npos)
      << stderr_;
  EXPECT_EQ(test::ReadFile(dir_ / "roots.tr2"), longer);
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

TEST_F(Cli, DiffSaysEqualOrWhatChangedAndRefusesLikeAComparisonTool) {
  test::DraftLevel draft = test::SampleDraft(Game::TR2);
  Write("old.tr2", test::ComposeClassic(draft).Bytes);
  ASSERT_FALSE(draft.Items.empty());
  draft.Items[0].Angle = static_cast<int16_t>(draft.Items[0].Angle + 16384);
  Write("new.tr2", test::ComposeClassic(draft).Bytes);
  Write("cut.tr2", test::ComposeClassic(draft).Truncated(5000));

  EXPECT_EQ(Run("diff old.tr2 old.tr2 --brief"), 0) << stderr_;
  EXPECT_EQ(stdout_, "");
  EXPECT_EQ(Run("diff old.tr2 old.tr2"), 0) << stderr_;
  EXPECT_TRUE(stdout_.ends_with("\nequal\n")) << stdout_;

  const int room = draft.Items[0].Room;
  EXPECT_EQ(Run("diff old.tr2 new.tr2 --brief"), 1) << stderr_;
  EXPECT_EQ(stdout_.rfind("room " + std::to_string(room) + ", sector ", 0), 0u) << stdout_;
  // The item's name follows its index when the names file is beside the tool.
  EXPECT_NE(stdout_.find(", item 0"), std::string::npos) << stdout_;
  EXPECT_TRUE(stdout_.ends_with(": changed (angle)\n")) << stdout_;
  EXPECT_EQ(std::count(stdout_.begin(), stdout_.end(), '\n'), 1) << stdout_;

  EXPECT_EQ(Run("diff old.tr2 new.tr2 --json"), 1) << stderr_;
  const auto json = nlohmann::json::parse(stdout_);
  EXPECT_EQ(json["equal"], false);
  ASSERT_EQ(json["changes"].size(), 1u);
  const auto& change = json["changes"][0];
  EXPECT_EQ(change["subject"], "item");
  EXPECT_EQ(change["room"], room);
  EXPECT_EQ(change["old_index"], 0);
  EXPECT_EQ(change["entity"], 0);
  EXPECT_TRUE(change["details"][0].get<std::string>().starts_with("angle ")) << change;

  // A refused file, a missing one and a usage error all end with 2: 1 means "different".
  EXPECT_EQ(Run("diff old.tr2 cut.tr2"), 2);
  EXPECT_EQ(stderr_.rfind("cut.tr2 is damaged", 0), 0u) << stderr_;
  EXPECT_EQ(stdout_, "");
  EXPECT_EQ(Run("diff missing.tr2 old.tr2"), 2);
  EXPECT_EQ(Run("diff old.tr2"), 2);
}

TEST_F(Cli, CheckPrintsOneFindingPerLineAndEndsWith1OnErrors) {
  // The showcase as the second game with its monkey-swing and minecart entries, which are
  // third-game functions.
  Write("second.tr2",
        test::ComposeClassic(test::SecondGameShowcaseDraft(/*keepThirdGameFloorData=*/true)).Bytes);
  test::DraftLevel draft = test::ShowcaseDraft();
  Write("clean.tr2", test::ComposeClassic(draft).Bytes);
  draft.Rooms[1].Portals[0].Vertices[1] = -1024;  // the corridor's side of a portal lower
  Write("noted.tr2", test::ComposeClassic(draft).Bytes);
  draft = test::ShowcaseDraft();
  draft.Items[0].Room = 9;
  Write("third.tr2", test::ComposeClassic(draft).Bytes);
  Write("cut.tr2", test::ComposeClassic(draft).Truncated(5000));

  EXPECT_EQ(Run("check second.tr2"), 1) << stderr_;
  EXPECT_EQ(stdout_.rfind("error [floor-function] room 1, sector 4,1: Room 1's sector 4,1's "
                          "list holds function 19; the second game knows functions 1 to 6.\n",
                          0),
            0u)
      << stdout_;
  EXPECT_EQ(stderr_, "second.tr2: 10 errors\n");
  EXPECT_EQ(Run("check second.tr2 --min-severity warning"), 1);
  EXPECT_EQ(std::count(stdout_.begin(), stdout_.end(), '\n'), 10) << stdout_;

  EXPECT_EQ(Run("check third.tr2 --json"), 1) << stderr_;
  const auto json = nlohmann::json::parse(stdout_);
  ASSERT_TRUE(json.is_array());
  const auto item = std::find_if(json.begin(), json.end(),
                                 [](const auto& f) { return f["check"] == "item-room"; });
  ASSERT_NE(item, json.end()) << json;
  EXPECT_EQ((*item)["severity"], "error");
  EXPECT_EQ((*item)["item"], 0);
  EXPECT_EQ((*item)["room"], nullptr);
  EXPECT_EQ((*item)["place"], "item 0");
  EXPECT_EQ((*item)["message"], "Item 0 stands in room 9; the level has 4 rooms.");
  // The least severity leaves out the rest, not the exit status.
  EXPECT_EQ(Run("check third.tr2 --min-severity error --json"), 1);
  EXPECT_EQ(nlohmann::json::parse(stdout_).size(), 1u);

  // The showcase as shipped has nothing to report; notes alone end with 0 as well.
  EXPECT_EQ(Run("check clean.tr2"), 0) << stderr_;
  EXPECT_EQ(stdout_, "");
  EXPECT_EQ(stderr_, "clean.tr2: No problems found\n");
  EXPECT_EQ(Run("check noted.tr2 --min-severity warning"), 0) << stderr_;
  EXPECT_EQ(stdout_, "");
  EXPECT_EQ(stderr_, "noted.tr2: 2 notes\n");

  // A refused file and a usage error end with 2: 1 means "errors found".
  EXPECT_EQ(Run("check cut.tr2"), 2);
  EXPECT_EQ(stdout_, "");
  EXPECT_EQ(Run("check third.tr2 --min-severity fatal"), 2);
}

// Every list, as text and as JSON, from the sample; the rows themselves are the docks' (the map
// tests hold them against every real level).
TEST_F(Cli, ListsEveryKind) {
  Write("a.tr2", test::ComposeClassic(test::SampleDraft(Game::TR2)).Bytes);
  ASSERT_EQ(Run("list rooms a.tr2"), 0) << stderr_;
  EXPECT_EQ(stdout_.substr(0, stdout_.find('\n')),
            "Room\tX\tZ\tSize\tFloor\tCeiling\tFlags\tAlternate\tGroup\tItems\tStatics\tLights\t"
            "Portals\tTrigger sectors");
  EXPECT_NE(stdout_.find("\n0\t0\t0\t8 x 8\t"), std::string::npos) << stdout_;
  ASSERT_EQ(Run("list cameras a.tr2 --json"), 0) << stderr_;
  const auto cameras = nlohmann::json::parse(stdout_);
  ASSERT_EQ(cameras.at("rows").size(), 1u);
  EXPECT_EQ(cameras["rows"][0]["cells"]["Kind"], "Fixed camera");
  EXPECT_EQ(cameras["rows"][0]["target"]["room"], 0);
  EXPECT_TRUE(cameras["rows"][0]["target"]["entity"].is_null());
  EXPECT_EQ(Run("list boxes a.tr2"), 1);
  EXPECT_NE(stderr_.find("rooms, lights, cameras, statics, sounds, items, triggers"),
            std::string::npos)
      << stderr_;
  EXPECT_EQ(Run("list rooms missing.tr2"), 2);
}

// The real encrypted level reads as the real fifth-game level it holds: every reading command
// prints the same, and every writing one refuses it with one message, writing nothing.
TEST_F(Cli, AnEncryptedLevelReadsAsTheLevelItHoldsAndIsNeverWritten) {
  SLAB_REQUIRE_REAL_LEVELS();
  const fs::path tr5 = test::RealLevelsDir() / "tr5";
  Write("enc.tr4", test::ReadFile(tr5 / "chreden__trview__lake-enc.tr4"));
  Write("plain.trc", test::ReadFile(tr5 / "chreden__trview__lake.trc"));
  for (const std::string command :
       {"info", "info --json", "triggers", "triggers --json", "list rooms", "list cameras --json",
        "list sounds", "list items --json", "sector {} 0 2 2", "map {} --room 1 -o {}.png"}) {
    auto run = [&](const std::string& file) {
      std::string arguments = command;
      if (arguments.find("{}") == std::string::npos) arguments += " {}";
      for (size_t at; (at = arguments.find("{}")) != std::string::npos;)
        arguments.replace(at, 2, file);
      EXPECT_EQ(Run(arguments), 0) << command << ": " << stderr_;
      return stdout_;
    };
    const std::string plain = run("plain.trc");
    std::string encrypted = run("enc.tr4");
    // JSON and the map command name the file they read.
    for (size_t at; (at = encrypted.find("enc.tr4")) != std::string::npos;)
      encrypted.replace(at, 7, "plain.trc");
    EXPECT_TRUE(encrypted == plain) << command;
    EXPECT_EQ(stderr_,
              "enc.tr4 holds a fifth-game level under a fourth-game name; it is read as the level "
              "it holds.\n");
  }
  EXPECT_EQ(test::ReadFile(dir_ / "enc.tr4.png"), test::ReadFile(dir_ / "plain.trc.png"));
  EXPECT_EQ(Run("diff plain.trc enc.tr4 --brief"), 0) << stdout_ << stderr_;

  const std::string refusal =
      "enc.tr4: This level is encrypted by its author; it opens for viewing only.\n";
  const auto before = test::ReadFile(dir_ / "enc.tr4");
  for (const std::string command :
       {"adddemo enc.tr4", "remove-item enc.tr4 0 -o out.tr4",
        "convert --to tr3 enc.tr4 -o out.tr2 --swd " SLAB_BIN_DIR "/TR3.swd"}) {
    EXPECT_EQ(Run(command), 2) << command;
    EXPECT_TRUE(stderr_.ends_with(refusal)) << command << ": " << stderr_;
  }
  EXPECT_EQ(test::ReadFile(dir_ / "enc.tr4"), before);
  EXPECT_FALSE(fs::exists(dir_ / "out.tr4") || fs::exists(dir_ / "out.tr2"));
}

}  // namespace
}  // namespace slab

#include "floordata/object_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "level/messages.h"

namespace slab {
namespace {

// Writes the names file's layout by hand, apart from the generator.
class NamesFile {
 public:
  NamesFile& Int(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  NamesFile& Text(const std::string& s) {
    Int(static_cast<uint32_t>(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  std::vector<uint8_t> bytes;
};

TEST(ObjectNames, ThreeStaticTextsAndDefaultsForTheRest) {
  NamesFile file;
  file.Int(2).Text("Lara").Text("Pistols");  // fourth game
  file.Int(3).Text("Plant 0").Text("").Text("Rock");
  file.Int(1).Text("Lara 3").Int(77);                     // third game
  file.Int(0);                                            // second game
  file.Int(2).Text("Lara 1").Int(0).Text("Bear").Int(0);  // first game
  // fifth game: the file ends here and reads as a count of 0
  RecordingSink messages;
  const ObjectNames names = ParseObjectNames(file.bytes, "names.dat", messages);
  EXPECT_TRUE(messages.Shown.empty());
  for (auto [id, version, name] : {std::tuple{0, Game::TR4, "Lara"},
                                   {1, Game::TR4, "Pistols"},
                                   {0, Game::TR3, "Lara 3"},
                                   {1, Game::TR1, "Bear"},
                                   {0, Game::TR5, ""},
                                   {0, Game::None, ""}})
    EXPECT_EQ(*ObjectName(names, id, version), name) << id << " in game " << GameNumber(version);
  EXPECT_EQ(std::vector<std::string>(names.Statics.begin(), names.Statics.begin() + 4),
            (std::vector<std::string>{"Plant 0", "", "Rock", "Mesh 3"}));
  EXPECT_EQ(names.Statics[89], "Mesh 89");
  EXPECT_EQ(StaticName(names, 90, Game::TR4), "Mesh 90");
  EXPECT_FALSE(names.GameStatics[5]);  // the file ended before any game's own statics
  EXPECT_EQ(StaticName(names, 2, Game::TR5), "Rock");
}

TEST(ObjectNames, EachGameNamesItsStaticsFromItsOwnTable) {
  NamesFile file;
  file.Int(0).Int(2).Text("Plant 0").Text("Shatter 0");  // fourth game
  for (int i = 0; i < 4; ++i) file.Int(0);               // objects of 3, 2, 1, 5
  file.Int(2).Text("Urn").Text("");                      // third game: 1 left unnamed
  file.Int(0);                                           // second game: none named
  file.Int(1).Text("Fern");                              // first game
  // the fifth game's section is missing: the fourth game's table stands in
  RecordingSink messages;
  const ObjectNames names = ParseObjectNames(file.bytes, "names.dat", messages);
  EXPECT_TRUE(messages.Shown.empty());
  for (auto [id, version, name] : {std::tuple{0, Game::TR4, "Plant 0"},
                                   {1, Game::TR4, "Shatter 0"},
                                   {0, Game::TR3, "Urn"},
                                   {1, Game::TR3, "Mesh 1"},
                                   {0, Game::TR2, "Mesh 0"},
                                   {0, Game::TR1, "Fern"},
                                   {1, Game::TR1, "Mesh 1"},
                                   {1, Game::TR5, "Shatter 0"},
                                   {1, Game::None, "Shatter 0"},
                                   {1, static_cast<Game>(9), "Shatter 0"},
                                   {-1, Game::TR3, "Mesh-1"}})
    EXPECT_EQ(StaticName(names, id, version), name) << id << " in game " << GameNumber(version);
}

TEST(ObjectNames, LookupsOutsideTheTable) {
  const ObjectNames names;
  // Past the table, negative, an unknown game and a textures-only file.
  for (auto [id, version] : {std::pair{501, Game::TR4},
                             {-1, Game::TR4},
                             {0, static_cast<Game>(6)},
                             {0, Game::TexturesOnly}})
    EXPECT_FALSE(ObjectName(names, id, version)) << id << " in game " << GameNumber(version);
  EXPECT_TRUE(ObjectName(names, 500, Game::TR5));
}

TEST(ObjectNames, EntriesAboveTheRangeAreReadAndDropped) {
  NamesFile file;
  file.Int(502);
  for (int i = 0; i < 502; ++i) file.Text("o" + std::to_string(i));
  file.Int(91);
  for (int i = 0; i < 91; ++i) file.Text("s" + std::to_string(i));
  file.Int(1).Text("after").Int(0);
  RecordingSink messages;
  const ObjectNames names = ParseObjectNames(file.bytes, "names.dat", messages);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(*ObjectName(names, 500, Game::TR4), "o500");
  EXPECT_EQ(names.Statics[89], "s89");
  EXPECT_EQ(*ObjectName(names, 0, Game::TR3), "after");  // the sections after still line up
}

TEST(ObjectNames, DamagedFilesKeepWhatWasReadAndSaySo) {
  RecordingSink messages;
  NamesFile longText;
  longText.Int(2).Text("Lara").Int(1000).Int(0);
  ObjectNames names = ParseObjectNames(longText.bytes, "names.dat", messages);
  EXPECT_EQ(*ObjectName(names, 0, Game::TR4), "Lara");
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_NE(messages.Shown[0].find("names.dat"), std::string::npos);
  EXPECT_NE(messages.Shown[0].find("fourth-game names"), std::string::npos);

  // A huge count over a short file stops at the end instead of looping or allocating.
  NamesFile hugeCount;
  hugeCount.Int(0).Int(0x7FFFFFFF).Text("Plant");
  names = ParseObjectNames(hugeCount.bytes, "names.dat", messages);
  EXPECT_EQ(names.Statics[0], "Plant");
  EXPECT_EQ(names.Statics[1], "Mesh 1");
  EXPECT_EQ(messages.Shown.size(), 2u);

  NamesFile negative;
  negative.Int(0xFFFFFFFF);
  names = ParseObjectNames(negative.bytes, "names.dat", messages);
  EXPECT_EQ(messages.Shown.size(), 3u);
  EXPECT_EQ(names.Statics[5], "Mesh 5");
}

TEST(ObjectNames, MissingFileGivesDefaultsAndCreatesNothing) {
  const auto folder = std::filesystem::path(testing::TempDir()) / "slab_names_missing";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  RecordingSink messages;
  const ObjectNames names = LoadObjectNames(folder, messages);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(*ObjectName(names, 0, Game::TR4), "");
  EXPECT_EQ(names.Statics[0], "Mesh 0");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  std::filesystem::remove_all(folder);
}

// The file the build writes beside the programs, read back through LoadObjectNames.
TEST(ObjectNames, GeneratedFileReadsBack) {
  const std::filesystem::path folder(SLAB_PROGRAM_DIR);
  if (!std::filesystem::exists(folder / kObjectNamesFile))
    GTEST_SKIP() << "no " << kObjectNamesFile << " in " << folder;
  RecordingSink messages;
  const ObjectNames names = LoadObjectNames(folder, messages);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_NE(names.Statics[89], "Mesh 89");            // the fourth-game rows name every static
  EXPECT_EQ(*ObjectName(names, 374, Game::TR3), "");  // the third game stops at 373
  for (Game version : {Game::TR1, Game::TR2, Game::TR3, Game::TR4, Game::TR5})
    EXPECT_NE(*ObjectName(names, 1, version), "") << GameNumber(version);
}

}  // namespace
}  // namespace slab

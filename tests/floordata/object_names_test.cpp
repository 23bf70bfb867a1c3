#include "floordata/object_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace slab {
namespace {

// Writes the names file's layout by hand, apart from the generator.
struct NamesFile {
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

TEST(ObjectNames, EachGameReadsItsOwnSectionsAndDefaultsForTheRest) {
  NamesFile file;
  file.Int(2).Text("Lara").Text("Pistols");               // fourth game
  file.Int(3).Text("Plant 0").Text("").Text("Rock");      // its statics
  file.Int(1).Text("Lara 3").Int(77);                     // third game
  file.Int(0);                                            // second game
  file.Int(2).Text("Lara 1").Int(0).Text("Bear").Int(0);  // first game
  file.Int(0);                                            // fifth game
  file.Int(2).Text("Urn").Text("");                       // third game's statics: 1 left unnamed
  file.Int(0);                                            // second game's: none named
  file.Int(1).Text("Fern");  // first game's; the fifth game's section is missing
  RecordingSink messages;
  const ObjectNames names = ParseObjectNames(file.bytes, "names.dat", messages);
  EXPECT_TRUE(messages.Shown.empty());
  for (auto [id, version, name] : {std::tuple{1, Game::TR4, "Pistols"},
                                   {0, Game::TR3, "Lara 3"},
                                   {1, Game::TR1, "Bear"},
                                   {0, Game::TR5, ""}})
    EXPECT_EQ(*ObjectName(names, id, version), name) << id << " in game " << GameNumber(version);
  // Past the table, negative, an unknown game and a textures-only file.
  for (auto [id, version] : {std::pair{501, Game::TR4},
                             {-1, Game::TR4},
                             {0, static_cast<Game>(6)},
                             {0, Game::TexturesOnly}})
    EXPECT_FALSE(ObjectName(names, id, version)) << id << " in game " << GameNumber(version);
  EXPECT_EQ(names.Statics[1], "");  // named empty in the fourth game's own table
  for (auto [id, version, name] :
       {std::tuple{0, Game::TR3, "Urn"},
        {1, Game::TR3, "Mesh 1"},
        {0, Game::TR2, "Mesh 0"},
        {0, Game::TR1, "Fern"},
        {2, Game::TR5, "Rock"},  // no table of its own: the fourth game's
        {90, Game::TR4, "Mesh 90"},
        {-1, Game::TR3, "Mesh-1"}})
    EXPECT_EQ(StaticName(names, id, version), name) << id << " in game " << version;
}

TEST(ObjectNames, DamagedFilesKeepWhatWasReadAndSaySo) {
  NamesFile longText, hugeCount, negative;
  longText.Int(2).Text("Lara").Int(1000).Int(0);
  hugeCount.Int(0).Int(0x7FFFFFFF).Text("Plant");  // stops at the end: no loop, no allocation
  negative.Int(0xFFFFFFFF);
  std::vector<ObjectNames> read;
  for (const NamesFile* file : {&longText, &hugeCount, &negative}) {
    RecordingSink messages;
    read.push_back(ParseObjectNames(file->bytes, "names.dat", messages));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_NE(messages.Shown[0].find("names.dat"), std::string::npos);
  }
  EXPECT_EQ(*ObjectName(read[0], 0, Game::TR4), "Lara");
  EXPECT_EQ(std::tuple(read[1].Statics[0], read[1].Statics[1]), std::tuple("Plant", "Mesh 1"));
  EXPECT_EQ(read[2].Statics[5], "Mesh 5");
}

}  // namespace
}  // namespace slab

// The first- to third-game reader against files written field by field by the test composer.
#include <gtest/gtest.h>

#include <cstring>

#include "level/load_level.h"
#include "level/texture_info.h"
#include "tools/compose_classic.h"
#include "support/real_levels.h"

namespace slab {
namespace {

using test::ComposeClassic;
using test::DraftLevel;
using test::LoadBytes;
using test::SampleDraft;

struct Layout {
  Game Version;
  Tr1PaletteLayout Palette;
};

// The sample level reads back as composed: each field in its version's place and width (the
// second game's light-mode word, the third game's room bytes, where the object textures and
// the first game's palette lie, the 256-entry first-game sound map and its sample bytes).
class EveryLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(EveryLayout, ReadsBackWhatWasComposed) {
  const Game v = GetParam().Version;
  DraftLevel d = SampleDraft(v);
  d.Tr1Palette = GetParam().Palette;
  const auto file = ComposeClassic(d);
  auto got = LoadBytes(file.Bytes, "TEST.TR2");
  ASSERT_TRUE(got->Result.Loaded);
  EXPECT_TRUE(got->Messages.Shown.empty());  // bytes left over would be reported
  EXPECT_EQ(got->GameVersion, v);
  // Every field: what was read, composed again, is the file it came from.
  const auto again = ComposeClassic(test::DraftFromLevel(got->Result.Lvl, v));
  ASSERT_EQ(again.Sections.size(), file.Sections.size());
  for (size_t k = 0; k < file.Sections.size(); ++k) {
    const auto& s = file.Sections[k];
    EXPECT_TRUE(std::equal(file.Bytes.begin() + s.Offset, file.Bytes.begin() + s.Offset + s.Size,
                           again.Bytes.begin() + again.Sections[k].Offset))
        << s.Name;
  }
  // What the composer makes up rather than takes from the draft.
  const Level& l = got->Result.Lvl;
  ASSERT_EQ(l.Textile8.size(), kPagePixels);
  EXPECT_EQ(l.Textile8[16], 15);
  const Room& hall = l.Rooms[0];  // its data-word count as stored
  EXPECT_EQ(hall.NumDataWords, (8 + hall.Vertices.size() * (v == Game::TR1 ? 8 : 12) +
                                hall.Rectangles.size() * 10 + 8 + 4) /
                                   2);
  ASSERT_EQ(got->Result.TextureTiles.size(), l.ObjectTextures.size());
  EXPECT_EQ(got->Result.TextureTiles[1].X, 64);
}

INSTANTIATE_TEST_SUITE_P(Classic, EveryLayout,
                         ::testing::Values(Layout{Game::TR1, Tr1PaletteLayout::AfterLightMap},
                                           Layout{Game::TR1,
                                                  Tr1PaletteLayout::AfterSpriteSequences},
                                           Layout{Game::TR2, Tr1PaletteLayout::AfterLightMap},
                                           Layout{Game::TR3, Tr1PaletteLayout::AfterLightMap}));

// A level with every list left empty reads as one, each empty list stepped over (the sample's
// last room does the same for a room's lists).
TEST(ClassicReader, EmptyListsAndNoRooms) {
  for (Game v : {Game::TR1, Game::TR2, Game::TR3}) {
    DraftLevel d;
    d.GameVersion = v;
    d.SampleIndices = {42};  // the last field: every empty list before it was stepped over
    auto got = LoadBytes(ComposeClassic(d).Bytes, "EMPTY.TR2");
    ASSERT_TRUE(got->Result.Loaded);
    EXPECT_TRUE(got->Result.Lvl.Rooms.empty() && got->Result.Lvl.Zones.empty());
    EXPECT_EQ(got->Result.Lvl.SampleIndices, std::vector<int32_t>{42});
  }
}

TEST(ClassicReader, FirstGameBoxesAreConvertedToSectors) {
  DraftLevel d = SampleDraft(Game::TR1);
  d.Tr1Boxes = {{2048, 4095, 0, 5120, -256, 7}, {1023, 1024, 262143, 9 * 1024 + 1023, 0, 0}};
  auto got = LoadBytes(ComposeClassic(d).Bytes, "LEVEL1.PHD");
  ASSERT_TRUE(got->Result.Loaded);
  const auto& boxes = got->Result.Lvl.Boxes;
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(std::tie(boxes[0].Zmin, boxes[0].Zmax, boxes[0].Xmin, boxes[0].Xmax),
            std::make_tuple(2, 3, 0, 5));
  EXPECT_EQ(std::tie(boxes[1].Zmin, boxes[1].Zmax, boxes[1].Xmin, boxes[1].Xmax),
            std::make_tuple(0, 1, 255, 9));
  // The world units stay for a writer to put back.
  EXPECT_EQ(got->Result.Lvl.Tr1BoxBounds.at(1),
            (std::array<int32_t, 4>{1023, 1024, 262143, 10239}));
}

TEST(VersionDetection, Table) {
  const struct {
    uint32_t Word;
    const char* Name;
    std::optional<Game> Version;
  } cases[] = {
      {0x00000020, "a.phd", Game::TR1},          {0x0000002D, "a.tr2", Game::TR2},
      {0xFF080038, "a.tr2", Game::TR3},          {0xFF180038, "a.tr2", Game::TR3},
      {0x00345254, "a.tr4", Game::TR4},          {0x00345254, "a.trc", Game::TR5},
      {0x00345254, "dir/A.TRC", Game::TR5},      {0x00345254, "a.tRc", Game::TR5},
      {0x00345254, "a.trc.bak", Game::TR4},      {0x00345254, "trc", Game::TR4},
      {0x03452548, "a.trc", Game::TR4},          {0xFFFFFFF0, "a.trc", Game::TR4},
      {0xFF180034, "a.tr2", Game::TexturesOnly}, {0x63345254, "a.tr4", std::nullopt},
      {0x00000021, "a.phd", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DetectGameVersion(c.Word, c.Name), c.Version) << std::hex << c.Word << " " << c.Name;
}

// A room's stated data size is held against what its own counts take: the size forged, or a
// count forged so the geometry no longer fits it, refuses the file naming the room, both sizes
// and the byte.
TEST(ClassicReader, RoomsWhoseStatedSizeDisagreesAreRefused) {
  for (Game v : {Game::TR1, Game::TR2, Game::TR3}) {
    const auto file = ComposeClassic(SampleDraft(v));
    const auto& stated = file.Section("room 1 NumDataWords");
    int32_t words;
    std::memcpy(&words, file.Bytes.data() + stated.Offset, 4);
    const std::string at = " data words at byte " + std::to_string(stated.Offset);
    auto forged = [&](size_t offset, uint32_t value, size_t width) {
      auto bytes = file.Bytes;
      std::memcpy(bytes.data() + offset, &value, width);
      return LoadBytes(bytes, "ROOMS.TR2");
    };
    // The last of the geometry's counts: one sprite (two words) more.
    const auto sprites = file.Section("room 1 NumSprites").Offset;
    uint16_t numSprites;
    std::memcpy(&numSprites, file.Bytes.data() + sprites, 2);
    const std::pair<std::unique_ptr<test::Loaded>, std::string> cases[] = {
        {forged(stated.Offset, 0x10000, 4),
         "room 1 states 65536" + at + "; its geometry takes " + std::to_string(words)},
        {forged(stated.Offset, 0x7FFFFFFF, 4),
         "room 1 states 2147483647" + at + "; its geometry takes " + std::to_string(words)},
        {forged(sprites, numSprites + 1u, 2), "room 1 states " + std::to_string(words) + at +
                                                  "; its geometry takes " +
                                                  std::to_string(words + 2)},
        {forged(file.Section("room 1 NumVertices").Offset, 0x7FFF, 2),
         "room 1 states " + std::to_string(words) + at +
             "; its geometry takes more than the rest of the file holds"},
    };
    for (const auto& [got, want] : cases) {
      EXPECT_FALSE(got->Result.Loaded);
      EXPECT_EQ(got->Messages.Shown, std::vector<std::string>{"ROOMS.TR2 is damaged: " + want});
    }
  }
}

// A damaged first-game file in the PC-demo layout (its palette after the sprite sequences) is
// told about in that layout, not blamed on the cameras the usual layout would find there.
TEST(ClassicReader, DamageInThePcDemoLayoutIsToldInThatLayout) {
  DraftLevel d = SampleDraft(Game::TR1);
  d.Tr1Palette = Tr1PaletteLayout::AfterSpriteSequences;
  const auto file = ComposeClassic(d);
  const size_t items = file.Section("Items").Offset + 10;
  auto got = LoadBytes(file.Truncated(items), "DEMO.PHD");
  EXPECT_EQ(got->Messages.Shown,
            std::vector<std::string>{"DEMO.PHD is damaged: the file ends inside the items, at "
                                     "byte " +
                                     std::to_string(items)});

  auto forged = file.Bytes;
  const size_t boxes = file.Section("NumBoxes").Offset;
  std::memset(forged.data() + boxes, 0xFF, 4);
  got = LoadBytes(forged, "DEMO.PHD");
  ASSERT_EQ(got->Messages.Shown.size(), 1u);
  EXPECT_EQ(got->FirstMessage().rfind(
                "DEMO.PHD is damaged: NumBoxes is -1 at byte " + std::to_string(boxes), 0),
            0u)
      << got->FirstMessage();

  // The usual layout, damaged the same way, says the same.
  d.Tr1Palette = Tr1PaletteLayout::AfterLightMap;
  const auto usual = ComposeClassic(d);
  const size_t usualItems = usual.Section("Items").Offset + 10;
  got = LoadBytes(usual.Truncated(usualItems), "LEVEL.PHD");
  EXPECT_EQ(got->Messages.Shown,
            std::vector<std::string>{"LEVEL.PHD is damaged: the file ends inside the items, at "
                                     "byte " +
                                     std::to_string(usualItems)});
}

// A texture whose X pixels run against its side flag is named with where its record lies.
TEST(TextureInfo, TheMessageSaysWhereTheTextureLies) {
  DraftLevel d = SampleDraft(Game::TR2);
  ASSERT_GE(d.ObjectTextures.size(), 2u);
  auto& c = d.ObjectTextures[1].Corners;
  c = {{{0, 47, 0, 32}, {255, 16, 0, 32}, {255, 16, 255, 63}, {0, 47, 255, 63}}};
  const auto file = ComposeClassic(d);
  auto got = LoadBytes(file.Bytes, "TEX.TR2");
  ASSERT_TRUE(got->Result.Loaded);
  EXPECT_EQ(got->Messages.Shown, std::vector<std::string>{"ConvertTextInfo -> Error reading texture 1"});
  EXPECT_EQ(got->Messages.Details,
            std::vector<std::string>{"Texture 1 is the record at byte " +
                                     std::to_string(file.Section("ObjectTextures").Offset + 20) +
                                     "; its corners' X pixels run against its side flag."});
}

// A file cut inside its rooms, with fewer bytes left than its rooms take at the least, says
// which room it ends in; a room count past what the file holds, whose next room is no room,
// says the count is what is wrong.
TEST(ClassicReader, CutInsideTheRoomsOrTooManyRooms) {
  const auto file = ComposeClassic(SampleDraft(Game::TR2));
  const size_t cut = file.Section("room 2 NumDataWords").Offset + 10;
  auto got = LoadBytes(file.Truncated(cut), "CUT.TR2");
  EXPECT_EQ(got->Messages.Shown,
            std::vector<std::string>{"CUT.TR2 is damaged: the file ends inside room 2, at byte " +
                                     std::to_string(cut)});

  const auto& count = file.Section("NumRooms");
  auto bytes = file.Bytes;
  bytes[count.Offset] = 0xFF;
  bytes[count.Offset + 1] = 0x7F;
  got = LoadBytes(bytes, "MANY.TR2");
  const std::string rest = std::to_string((file.Bytes.size() - count.Offset - 2) / 40);
  EXPECT_EQ(got->Messages.Shown,
            std::vector<std::string>{"MANY.TR2 is damaged: NumRooms is 32767 at byte " +
                                     std::to_string(count.Offset) +
                                     "; the rest of the file holds at most " + rest});
}

// A textures-only file is refused with its own message, an unknown word with another that
// stays exact, with the first bytes under it: a file that starts as an encrypted level does
// but does not decrypt into one is told apart from a file that is no level at all.
TEST(VersionDetection, TexturesOnlyAndUnknownWordsAreRefused) {
  const std::pair<uint32_t, std::string> unknown[] = {
      {0x63345254u,
       "The file starts with 54 52 34 63 (\"TR4c\"), as an encrypted level does, but its chunks "
       "do not decrypt into one."},
      {0x04034B50u, "The file starts with 50 4B 03 04 (\"PK..\"), as no level does."}};
  for (const auto& [word, detail] : unknown) {
    auto bytes = ComposeClassic(SampleDraft(Game::TR3)).Bytes;
    std::memcpy(bytes.data(), &word, 4);
    auto got = LoadBytes(bytes, "ODD.TR4");
    EXPECT_EQ(got->Messages.Shown, std::vector<std::string>{"Unknown TR version!"});
    EXPECT_EQ(got->Messages.Details, std::vector<std::string>{detail});
  }
  for (uint32_t word : {0xFF180034u, 0x63345254u}) {
    DraftLevel d = SampleDraft(Game::TR3);
    d.VersionWord = word;
    auto got = LoadBytes(ComposeClassic(d).Bytes, "TEX.TR2");
    EXPECT_FALSE(got->Result.Loaded);
    EXPECT_TRUE(got->Result.Lvl.Rooms.empty());
    const bool texturesOnly = word == 0xFF180034u;
    EXPECT_EQ(got->Result.DetectedGame,
              texturesOnly ? std::optional(Game::TexturesOnly) : std::nullopt);
    EXPECT_EQ(got->Messages.Shown,
              std::vector<std::string>{texturesOnly ? "This level only contains textures!"
                                                    : "Unknown TR version!"});
  }
}

// A rectangle, the same with its Y taken from the fourth corner, and a triangle; then textures
// whose X pixels run against their side flag, reported once naming the first.
TEST(TextureInfo, ConvertTextInfoRectanglesAndTriangles) {
  ObjectTexture rect;
  rect.Tile = 3;
  rect.Corners = {{{0, 16, 0, 32}, {255, 47, 0, 32}, {255, 47, 255, 63}, {0, 16, 255, 63}}};
  ObjectTexture flipped = rect;
  flipped.Corners[0].XCoordinate = 255;
  ObjectTexture yFromCorner4 = rect;
  yFromCorner4.Corners[0].YCoordinate = 255;
  ObjectTexture tri;
  tri.Tile = 0x8003;
  tri.Corners = {{{1, 90, 1, 70}, {255, 40, 1, 99}, {1, 60, 255, 20}, {0, 0, 0, 0}}};

  RecordingSink sink;
  std::vector<ObjectTexture> textures = {rect, yFromCorner4, tri};
  auto tiles = ConvertTextInfo(textures, 3, sink);
  EXPECT_TRUE(sink.Shown.empty());
  ASSERT_EQ(tiles.size(), 3u);
  EXPECT_EQ(std::tie(tiles[0].X, tiles[0].Y, tiles[0].Page), std::make_tuple(16, 32, 3));
  EXPECT_EQ(tiles[1].Y, 63);
  EXPECT_EQ(std::tie(tiles[2].X, tiles[2].Y), std::make_tuple(40, 20));
  EXPECT_EQ(tiles[2].Page, static_cast<int16_t>(0x8003));  // the first games store it as is

  textures = {rect, flipped, rect, flipped, flipped};
  tiles = ConvertTextInfo(textures, 5, sink);
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_EQ(sink.Shown[0].rfind("ConvertTextInfo -> Error reading texture 1", 0), 0u);
  EXPECT_NE(sink.Shown[0].find("2 more"), std::string::npos) << sink.Shown[0];
  EXPECT_EQ(tiles[4].X, 47);
  // The count decides, not the list; a negative count converts nothing.
  EXPECT_EQ(ConvertTextInfo(textures, -5, sink).size(), 0u);
}

}  // namespace
}  // namespace slab

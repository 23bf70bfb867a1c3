// The first- to third-game reader against files written field by field by the test composer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <type_traits>

#include "level/load_level.h"
#include "level/texture_info.h"
#include "support/compose_classic.h"
#include "support/real_levels.h"

namespace slab {
namespace {

using test::ComposeClassic;
using test::ComposedFile;
using test::DraftLevel;
using test::SampleDraft;

struct Loaded {
  LoadResult Result;
  RecordingSink Sink;
  Game GameVersion = Game::None;
};

std::unique_ptr<Loaded> Load(const std::vector<uint8_t>& bytes,
                             const std::string& name = "TEST.TR2", Game gameVersion = Game::None) {
  auto out = std::make_unique<Loaded>();
  out->GameVersion = gameVersion;
  out->Result = LoadLevelFromBytes(bytes, name, out->Sink);
  out->GameVersion = out->Result.DetectedGame.value_or(out->GameVersion);
  return out;
}

// The sample draft without texture pages, which most tests do not need.
DraftLevel SmallDraft(Game version) {
  DraftLevel d = SampleDraft(version);
  d.NumTextiles = 0;
  return d;
}

// Records without padding compare as bytes; the others field by field below.
template <typename T>
void ExpectSameList(const std::vector<T>& read, const std::vector<T>& want,
                    const std::string& what) {
  static_assert(std::has_unique_object_representations_v<T>);
  ASSERT_EQ(read.size(), want.size()) << what;
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_EQ(std::memcmp(&read[i], &want[i], sizeof(T)), 0) << what << " entry " << i;
}

// Whether the reader, started after the version word, stops exactly at the file's end.
bool ReadsToTheEnd(const std::vector<uint8_t>& bytes, Game gameVersion) {
  ByteCursor cursor(bytes);
  Level level;
  level.Version = static_cast<int32_t>(cursor.ReadU32());
  ReadClassicLevel(cursor, level, gameVersion);
  return cursor.AtEnd();
}

// The sample level in every version reads back as composed: each field in its version's
// place and width (the TR2 light-mode word, the TR3 room bytes, the object textures before
// the sprite textures in TR1/TR2 and after the animated textures in TR3, the TR1 palette
// after the light map, the 256-entry TR1 sound map and its sample bytes).
class EveryVersion : public ::testing::TestWithParam<Game> {};

TEST_P(EveryVersion, ReadsBackWhatWasComposed) {
  const Game v = GetParam();
  DraftLevel d = SampleDraft(v);
  d.Rooms[2].WaterScheme = 5;
  d.Rooms[2].ReverbInfo = 6;
  d.Rooms[2].AlternateGroup = 7;
  d.Reserved32 = 0x01020304;
  ComposedFile file = ComposeClassic(d);
  auto got = Load(file.Bytes);
  ASSERT_TRUE(got->Result.Loaded);
  EXPECT_TRUE(got->Sink.Shown.empty());
  EXPECT_EQ(got->GameVersion, v);
  EXPECT_TRUE(ReadsToTheEnd(file.Bytes, v));
  const Level& l = got->Result.Lvl;
  // Every field: what was read, composed again, is the file it came from.
  const auto again = ComposeClassic(test::DraftFromLevel(l, v));
  ASSERT_EQ(again.Sections.size(), file.Sections.size());
  for (size_t k = 0; k < file.Sections.size(); ++k) {
    const auto& s = file.Sections[k];
    EXPECT_TRUE(std::equal(file.Bytes.begin() + s.Offset, file.Bytes.begin() + s.Offset + s.Size,
                           again.Bytes.begin() + again.Sections[k].Offset))
        << s.Name;
  }
  // What the composer makes up rather than takes from the draft.
  ASSERT_EQ(l.Textile8.size(), kPagePixels);
  EXPECT_EQ(l.Textile8[16], 15);
  const auto& dw = file.Section("room 1 NumDataWords");
  EXPECT_EQ(l.Rooms[1].NumDataWords, file.Bytes[dw.Offset] | file.Bytes[dw.Offset + 1] << 8);
  ASSERT_EQ(got->Result.TextureTiles.size(), 2u);
  EXPECT_EQ(got->Result.TextureTiles[1].X, 64);
}

// Each list left empty reads as an empty list and the next field is still in its place.
TEST_P(EveryVersion, EmptyListsAndNoRooms) {
  DraftLevel d;
  d.GameVersion = GetParam();
  d.SampleIndices = {42};  // the last field: proves every empty list before it was stepped over
  auto got = Load(ComposeClassic(d).Bytes);
  ASSERT_TRUE(got->Result.Loaded);
  EXPECT_TRUE(got->Sink.Shown.empty());
  const Level& l = got->Result.Lvl;
  EXPECT_TRUE(l.Rooms.empty() && l.Textile8.empty() && l.FloorData.empty() && l.Items.empty() &&
              l.Zones.empty() && l.DemoData.empty() && got->Result.TextureTiles.empty());
  EXPECT_EQ(l.SampleIndices, std::vector<int32_t>{42});

  // A room with neither sectors nor sprites, lights or statics, followed by one that has.
  d = SmallDraft(GetParam());
  d.Rooms[0].Sprites.clear();
  d.Rooms[0].Lights.clear();
  d.Rooms[0].StaticMeshes.clear();
  d.Rooms[0].NumXSectors = d.Rooms[0].NumZSectors = 0;
  d.Rooms[0].Sectors.clear();
  got = Load(ComposeClassic(d).Bytes);
  ASSERT_TRUE(got->Result.Loaded);
  const Room& r0 = got->Result.Lvl.Rooms[0];
  EXPECT_TRUE(r0.Sprites.empty() && r0.Lights.empty() && r0.StaticMeshes.empty() &&
              r0.Sectors.empty());
  EXPECT_EQ(got->Result.Lvl.Rooms[2].StaticMeshes.size(), 1u);
  EXPECT_EQ(got->Result.Lvl.Rooms[2].Lights.size(), 1u);
}

// 400 bytes give 100 words, none give none; an odd length keeps every byte and the reading
// goes on right after it.
TEST_P(EveryVersion, DemoDataOfAnyLength) {
  for (size_t length : {size_t{0}, size_t{400}, size_t{401}, size_t{3}}) {
    SCOPED_TRACE(length);
    DraftLevel d = SmallDraft(GetParam());
    d.DemoBytes.resize(length);
    for (size_t i = 0; i < length; ++i) d.DemoBytes[i] = static_cast<uint8_t>(i * 37 + 1);
    auto bytes = ComposeClassic(d).Bytes;
    auto got = Load(bytes);
    ASSERT_TRUE(got->Result.Loaded);
    EXPECT_TRUE(ReadsToTheEnd(bytes, GetParam()));
    const Level& l = got->Result.Lvl;
    EXPECT_EQ(l.NumDemoData, static_cast<int16_t>(length));
    ASSERT_EQ(l.DemoData.size(), (length + 3) / 4);
    std::vector<uint8_t> held(l.DemoData.size() * 4);
    if (!held.empty()) std::memcpy(held.data(), l.DemoData.data(), held.size());
    EXPECT_EQ(std::vector<uint8_t>(held.begin(), held.begin() + length), d.DemoBytes);
    EXPECT_EQ(l.SampleIndices, d.SampleIndices);
  }
}

// Bytes after the last section are reported once, with how many; the level still opens.
TEST_P(EveryVersion, BytesAfterTheLastSectionAreReported) {
  auto bytes = ComposeClassic(SmallDraft(GetParam())).Bytes;
  bytes.insert(bytes.end(), 37, 0);
  auto got = Load(bytes, "dir/LONG.TR2");
  ASSERT_TRUE(got->Result.Loaded);
  EXPECT_EQ(got->Sink.Shown,
            std::vector<std::string>{"LONG.TR2 has 37 bytes after its last section; they are not "
                                     "part of the level and are left out"});
}

INSTANTIATE_TEST_SUITE_P(Classic, EveryVersion, ::testing::Values(Game::TR1, Game::TR2, Game::TR3),
                         [](const auto& info) {
                           return "TR" + std::to_string(GameNumber(info.param));
                         });

TEST(ClassicReader, FirstGameBoxesAreConvertedToSectors) {
  DraftLevel d = SmallDraft(Game::TR1);
  d.Tr1Boxes = {{2048, 4095, 0, 5120, -256, 7}, {1023, 1024, 262143, 9 * 1024 + 1023, 0, 0}};
  auto got = Load(ComposeClassic(d).Bytes, "LEVEL1.PHD");
  ASSERT_TRUE(got->Result.Loaded);
  ExpectSameList(got->Result.Lvl.Boxes, {{2, 3, 0, 5, -256, 7}, {0, 1, 255, 9, 0, 0}}, "boxes");
  // The world units stay for a writer to put back.
  ASSERT_EQ(got->Result.Lvl.Tr1BoxBounds.size(), 2u);
  EXPECT_EQ(got->Result.Lvl.Tr1BoxBounds[1], (std::array<int32_t, 4>{1023, 1024, 262143, 10239}));
  EXPECT_EQ(got->Result.Lvl.Zones.size(), 12u);  // six words a box
}

// The demo layout keeps the palette before the cameras; the reader finds it by the file.
TEST(ClassicReader, FirstGamePaletteInEitherPlace) {
  for (auto layout : {Tr1PaletteLayout::AfterLightMap, Tr1PaletteLayout::AfterSpriteSequences}) {
    DraftLevel d = SmallDraft(Game::TR1);
    d.Tr1Palette = layout;
    auto bytes = ComposeClassic(d).Bytes;
    auto got = Load(bytes, "LEVEL2.PHD");
    ASSERT_TRUE(got->Result.Loaded);
    EXPECT_TRUE(got->Sink.Shown.empty());
    EXPECT_TRUE(ReadsToTheEnd(bytes, Game::TR1));
    const Level& l = got->Result.Lvl;
    EXPECT_EQ(l.Tr1Palette, layout);
    EXPECT_EQ(l.Palette, d.Palette);
    ExpectSameList(l.Cameras, d.Cameras, "cameras");
    EXPECT_EQ(l.LightMap, d.LightMap);
  }
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

TEST(VersionDetection, TexturesOnlyAndUnknownWords) {
  DraftLevel d = SmallDraft(Game::TR3);
  d.VersionWord = 0xFF180034;
  auto got = Load(ComposeClassic(d).Bytes, "TEX.TR2", Game::TR2);
  EXPECT_FALSE(got->Result.Loaded);
  EXPECT_EQ(got->Sink.Shown, std::vector<std::string>{"This level only contains textures!"});
  EXPECT_EQ(got->GameVersion, Game::TexturesOnly);
  EXPECT_TRUE(got->Result.Lvl.Rooms.empty());

  // The old value stays when the word is unknown.
  d.VersionWord = 0x63345254;
  got = Load(ComposeClassic(d).Bytes, "LAKE.TR4", Game::TR2);
  EXPECT_FALSE(got->Result.Loaded);
  EXPECT_EQ(got->Sink.Shown, std::vector<std::string>{"Unknown TR version!"});
  EXPECT_FALSE(got->Result.DetectedGame);
  EXPECT_EQ(got->GameVersion, Game::TR2);
  EXPECT_TRUE(got->Result.Lvl.Rooms.empty());

  // The other third-game word reads the third-game layout.
  d.VersionWord = 0xFF080038;
  got = Load(ComposeClassic(d).Bytes, "HOUSE.TR2");
  EXPECT_TRUE(got->Result.Loaded);
  EXPECT_EQ(got->GameVersion, Game::TR3);
  EXPECT_EQ(got->Result.Lvl.Rooms.size(), 3u);
}

// The examples of the texture-info rules, and the one report per load.
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

  // Reported textures are still converted; the box comes once, naming the first of them.
  textures = {rect, flipped, rect, flipped, flipped};
  tiles = ConvertTextInfo(textures, 5, sink);
  ASSERT_EQ(sink.Shown.size(), 1u);
  const std::string first = "ConvertTextInfo -> Error reading texture 1";
  EXPECT_EQ(sink.Shown[0].substr(0, first.size()), first);
  EXPECT_TRUE(sink.Shown[0].size() == first.size() || !std::isdigit(sink.Shown[0][first.size()]));
  EXPECT_NE(sink.Shown[0].find("2 more"), std::string::npos) << sink.Shown[0];
  EXPECT_EQ(tiles[4].X, 47);

  sink.Shown.clear();
  textures = {flipped};
  ConvertTextInfo(textures, 1, sink);
  EXPECT_EQ(sink.Shown, std::vector<std::string>{"ConvertTextInfo -> Error reading texture 0"});

  // The count decides, not the list; a negative count converts nothing.
  EXPECT_EQ(ConvertTextInfo(textures, 0, sink).size(), 0u);
  EXPECT_EQ(ConvertTextInfo(textures, -5, sink).size(), 0u);
}

TEST(TextureInfo, OneReportPerLoad) {
  DraftLevel d = SmallDraft(Game::TR2);
  ObjectTexture flipped = d.ObjectTextures[0];
  flipped.Corners[0] = {255, 16, 1, 0};
  flipped.Corners[1] = {1, 47, 1, 0};
  d.ObjectTextures = {d.ObjectTextures[0], flipped, flipped, flipped};
  auto got = Load(ComposeClassic(d).Bytes);
  EXPECT_TRUE(got->Result.Loaded);
  ASSERT_EQ(got->Sink.Shown.size(), 1u);
  EXPECT_EQ(got->Sink.Shown[0].rfind("ConvertTextInfo -> Error reading texture 1", 0), 0u);
  EXPECT_EQ(got->Result.TextureTiles.size(), 4u);
}

TEST(TextureInfo, ConvertTR5TextInfoRefusesAnAreaPastThePage) {
  Level level;
  ObjectTexture t;
  t.Tile = 0x8003;
  t.Corners = {{{0, 192, 0, 10}, {0, 200, 0, 12}, {0, 255, 0, 11}, {0, 0, 0, 0}}};
  t.Width = 63;
  t.Height = 100;
  level.ObjectTextures = {t, t};
  level.ObjectTextures[1].Corners[0].XPixel = 193;  // 193 + 63 runs past the page
  RecordingSink sink;
  EXPECT_THROW(ConvertTR5TextInfo(level, sink), TextureAreaError);
  EXPECT_EQ(sink.Shown, std::vector<std::string>{"ConvertTR5TextInfo -> ObjectTexture 1 invalid"});
}

// Classic files are read from disk in parts (the pages straight into their lists): the same
// level as from memory, for every version and first-game palette layout.
TEST(LoadLevel, FromDiskAgreesWithMemory) {
  const auto path = std::filesystem::temp_directory_path() / "slab_agree.tr2";
  for (Game version : {Game::TR1, Game::TR2, Game::TR3})
    for (auto layout : {Tr1PaletteLayout::AfterLightMap, Tr1PaletteLayout::AfterSpriteSequences}) {
      if (version != Game::TR1 && layout == Tr1PaletteLayout::AfterSpriteSequences) continue;
      DraftLevel draft = SampleDraft(version);
      draft.Tr1Palette = layout;
      draft.NumTextiles = 2;
      const auto bytes = ComposeClassic(draft).Bytes;
      test::WriteBytes(path, bytes);
      auto disk = test::LoadFile(path);
      auto memory = test::LoadBytes(bytes, path.string());
      ASSERT_TRUE(disk->Result.Loaded) << disk->FirstMessage();
      EXPECT_EQ(disk->GameVersion, version);
      EXPECT_EQ(disk->Messages.Shown, memory->Messages.Shown);
      const Level &a = disk->Result.Lvl, &b = memory->Result.Lvl;
      EXPECT_TRUE(a.Textile8 == b.Textile8 && a.Textile16 == b.Textile16 &&
                  a.FloorData == b.FloorData && a.MeshData == b.MeshData &&
                  a.SoundMap == b.SoundMap && a.Tr1SampleData == b.Tr1SampleData &&
                  a.Palette == b.Palette && a.Rooms.size() == b.Rooms.size());
    }
  std::filesystem::remove(path);
}

TEST(LoadLevel, UnreadableFilesAreNamed) {
  auto dir =
      std::filesystem::temp_directory_path() / ("slab_classic_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (auto bad : {dir / "missing.tr2", dir}) {
    RecordingSink sink;
    EXPECT_FALSE(LoadLevel(bad, sink).Loaded);
    ASSERT_EQ(sink.Shown.size(), 1u);
    EXPECT_NE(sink.Shown[0].find(bad.filename().string()), std::string::npos) << sink.Shown[0];
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace slab

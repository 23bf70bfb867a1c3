// The fourth-game converter over files composed field by field.
#include <gtest/gtest.h>

#include <cstring>

#include "level/load_level.h"
#include "preview3d/mesh_bytes.h"
#include "tools/compose_tr45.h"
#include "write/convert_tr4.h"

namespace slab {
namespace {

using test::MeshBytes;

// A mesh: centre, radius 1024, two vertices, two normals, one quad (texture word 0x8001:
// index 1 with the top flag) and one triangle. The fourth game gives each face an effects
// word (the quad's has the additive bit); the older engines have two empty coloured lists.
std::vector<uint8_t> Mesh(bool tr4) {
  MeshBytes m;
  m.Words({1, 2, 3}).Raw({0x00, 0x04, 0x00, 0x00}).Words({2, 10, 20, 30, 40, 50, 60});
  m.Words({2, 0, 1, 0, 1, 0, 0});
  if (tr4) return m.Words({1, 0, 1, 1, 0, 0x8001, 1}).Words({1, 0, 1, 0, 0, 0}).Bytes;
  return m.Words({1, 0, 1, 1, 0, 0x8001}).Words({1, 0, 1, 0, 0}).Words({0, 0}).Bytes;
}

test::Tr4Draft Draft() {
  test::Tr4Draft d = test::SampleTr4Draft();
  Level& l = d.Data;
  l.MeshData = Mesh(true);
  l.MeshPointers = {0, 0};
  ObjectTexture second = l.ObjectTextures[0];
  second.Tile = 0;
  l.ObjectTextures.push_back(second);
  return d;
}

// A wad image of 300 rows, ending inside its second page: transparent, with a few coloured
// pixels.
SpriteWad Wad() {
  SpriteWad wad;
  wad.Image.assign(300 * kWadRowBytes, 0);
  for (size_t p = 0; p < 300 * 256; ++p) {
    wad.Image[p * 3] = 255;
    wad.Image[p * 3 + 2] = 255;
  }
  std::fill_n(wad.Image.begin() + 3, 3, 255);  // white at (1, 0)
  std::fill_n(wad.Image.begin() + 6, 3, 0);    // black at (2, 0)
  std::copy_n(std::array<uint8_t, 3>{8, 16, 248}.begin(), 3, wad.Image.end() - 3);
  SpriteTexture t;
  t.Width = 2047;
  wad.SpriteTextures = {t};
  wad.SpriteSequences = {{355, -1, 0}};
  return wad;
}

struct Converted {
  std::optional<Level> Lvl;
  RecordingSink Messages;
};

Converted Convert(const test::Tr4Draft& draft, Game target) {
  Converted c;
  c.Lvl = ConvertTR4Level(test::ComposeTR4(draft).Bytes, "level.tr4", target, Wad(), c.Messages);
  return c;
}

// A fifth-game level under either name, another version word or a file too short for one:
// the message stays exact, and what was found goes under it. A fourth-game level named ".trc"
// converts: the file says what it is.
TEST(ConvertTR4, RefusesWhatIsNoFourthGameLevel) {
  const auto tr4 = test::ComposeTR4(Draft()).Bytes;
  const auto tr5 = test::ComposeTR5(test::SampleTr5Draft()).Bytes;
  auto tr4c = tr4;
  tr4c[3] = 'c';
  const std::vector<uint8_t> tr2 = {0x2D, 0, 0, 0, 1, 2};
  const struct {
    std::vector<uint8_t> Bytes;
    const char* Name;
    const char* Detail;
  } cases[] = {
      {tr5, "LAKE.TRC", "Its name ends in \".trc\": it is read as a fifth-game level."},
      {tr5, "lake.tr4", "It holds a fifth-game level."},
      {tr4c, "a.tr4",
       "It starts with 54 52 34 63 (\"TR4c\"), as an encrypted level does, not with \"TR4\" "
       "and a zero byte."},
      {tr2, "a.tr4",
       "It starts with 2D 00 00 00 (\"-...\"), as a second-game level does, not with \"TR4\" "
       "and a zero byte."},
      {{'T', 'R'}, "a.tr4", "The file ends inside the version word, at byte 2."}};
  for (const auto& c : cases) {
    RecordingSink sink;
    EXPECT_FALSE(ConvertTR4Level(c.Bytes, c.Name, Game::TR3, Wad(), sink));
    EXPECT_EQ(sink.Shown, std::vector<std::string>{"No TR4 Level!"}) << c.Name;
    EXPECT_EQ(sink.Details, std::vector<std::string>{c.Detail});
  }
  RecordingSink renamed;
  EXPECT_TRUE(ConvertTR4Level(tr4, "LAKE.TRC", Game::TR3, Wad(), renamed));
  // An encrypted level reads for viewing only: its author asked that it not be taken apart.
  RecordingSink sink;
  EXPECT_FALSE(ConvertTR4Level(test::ScrambleLevel(tr4), "a.tr4", Game::TR3, Wad(), sink));
  EXPECT_EQ(sink.Shown, std::vector<std::string>{kEncryptedRefusal});
}

// The wad's pages follow the level's own pages, whole, and carry its sprites; an add-on file's long
// sound map is cut to the older engines' 370 entries and its trailing block dropped.
TEST(ConvertTR4, WadPagesFollowTheLevelsOwnAndAddOnsAreLeftOut) {
  test::Tr4Draft d = Draft();
  d.Pages16.resize(d.Pages16.size() + 10, 0x34);  // the chunk holds a little more than a page
  d.AddOn = test::AddOnBlock(40);
  d.Data.SoundMap.assign(2048, 7);
  d.Data.SoundMap[369] = 5;
  for (Game target : {Game::TR2, Game::TR3}) {
    Converted c = Convert(d, target);
    ASSERT_TRUE(c.Lvl) << c.Messages.Shown[0];
    const Level& l = *c.Lvl;
    EXPECT_TRUE(l.TrailingBlock.empty());
    EXPECT_EQ(l.SoundMap.size(), 370u);
    EXPECT_EQ(l.SoundMap[369], 5);
    EXPECT_EQ(l.NumTextiles, 3);  // the wad's last page is whole
    ASSERT_EQ(l.Textile16.size(), 3 * kPagePixels);
    EXPECT_EQ(l.Textile8, PixelList<uint8_t>(3 * kPagePixels, 0));
    EXPECT_TRUE(l.Textile32.empty() && l.MiscTextile32.empty());
    const uint16_t* wadPage = l.Textile16.data() + kPagePixels;
    // Magenta is transparent, white and black are opaque; past the image is transparent.
    EXPECT_EQ(std::make_tuple(wadPage[0], wadPage[1], wadPage[2], wadPage[299 * 256 + 255]),
              std::make_tuple(0, 0xFFFF, 0x8000, 0x8000 | 1 << 10 | 2 << 5 | 31));
    EXPECT_EQ(wadPage[300 * 256], 0);
    ASSERT_EQ(l.SpriteTextures.size(), 1u);
    EXPECT_EQ(std::tie(l.SpriteTextures[0].Tile, l.SpriteTextures[0].Width),
              std::make_tuple(1, 2047));
    EXPECT_EQ(l.SpriteSequences.at(0).SpriteID, 355);
  }
}

TEST(ConvertTR4, LightsAndAmbientForEachEngine) {
  test::Tr4Draft d = Draft();
  Room& room = d.Data.Rooms[0];
  RoomLight point = room.Lights[0];
  point.LightType = int16_t(0xFF01);  // type 1, the byte after it is not part of the type
  point.Colour = {30, 60, 90};
  point.In = 1.5f;
  point.Out = 1024.5f;
  RoomLight spot = point;
  spot.LightType = int16_t(0xFF02);
  RoomLight sun = point;
  sun.LightType = 0;
  room.Lights = {spot, point, sun};
  d.Data.Rooms[1].Lights = {spot, sun};
  room.AmbientIntensity1 = -1;  // colour bytes 255, 255, 255, 0
  room.AmbientIntensity2 = 0x00FF;
  d.Data.Rooms[1].AmbientIntensity1 = 0;
  d.Data.Rooms[1].AmbientIntensity2 = 0x7F00;  // the fourth byte does not count
  room.Vertices[0].Lighting1 = 0x0A14;         // 20 and 10
  room.Vertices[0].Lighting2 = 0x7C0F;         // 15

  for (Game target : {Game::TR2, Game::TR3}) {
    Converted c = Convert(d, target);
    ASSERT_TRUE(c.Lvl);
    const Room& r0 = c.Lvl->Rooms[0];
    ASSERT_EQ(r0.Lights.size(), 1u);
    const RoomLight& l = r0.Lights[0];
    EXPECT_EQ(l.X, point.X);
    // The out and the in distance, halves to even.
    EXPECT_EQ(std::tie(l.Fade1, l.Fade2), std::make_tuple(1024, 2));
    const bool tr2 = target == Game::TR2;
    EXPECT_EQ(std::tie(l.Intensity1, l.Intensity2),
              tr2 ? std::make_tuple(1920, 1920) : std::make_tuple(30 | 60 << 8, 90));
    EXPECT_EQ(std::tie(r0.Vertices[0].Lighting1, r0.Vertices[0].Lighting2),
              tr2 ? std::make_tuple(15, 15) : std::make_tuple(0x0A14, 0x7C0F));
    EXPECT_EQ(std::tie(r0.AmbientIntensity1, r0.AmbientIntensity2), std::make_tuple(0, 0));
    EXPECT_EQ(c.Lvl->Rooms[1].AmbientIntensity1, 8192);
    EXPECT_TRUE(c.Lvl->Rooms[1].Lights.empty());
  }
}

TEST(ConvertTR4, ItemIdsMoveForTheSecondGameOnly) {
  test::Tr4Draft d = Draft();
  Item item = d.Data.Items[0];
  d.Data.Items.clear();
  for (int16_t id : {160, 174, 156, 157, 173}) {
    item.ObjectID = id;
    d.Data.Items.push_back(item);
  }
  auto ids = [&](Game target) {
    Converted c = Convert(d, target);
    std::vector<int16_t> out;
    if (c.Lvl)
      for (const Item& i : c.Lvl->Items) out.push_back(i.ObjectID);
    return out;
  };
  EXPECT_EQ(ids(Game::TR2), (std::vector<int16_t>{138, 174, 156, 135, 151}));
  EXPECT_EQ(ids(Game::TR3), (std::vector<int16_t>{160, 174, 156, 157, 173}));
}

TEST(ConvertTR4, SingleAxisRotationsAreRescaledOnceEach) {
  EXPECT_EQ(RescaleRotationWord(int16_t(0x8006)), int16_t(0x8002));  // 1.5 rounds to 2
  EXPECT_EQ(RescaleRotationWord(0x1234), 0x1234);

  Level l;
  // Two meshes a frame: 9 header words, a single-axis word, a three-axis pair (12 words).
  Animation a;
  a.FrameSize = 12;
  a.FrameOffset = 0;
  Animation b = a;
  b.FrameOffset = 2 * 24;  // two frames in a, then b runs to the end of the list
  l.Animations = {a, b};
  std::vector<int16_t> frame(9, 0x4800);  // header words are never touched
  auto push = [&](std::initializer_list<int> words) {
    l.Frames.insert(l.Frames.end(), frame.begin(), frame.end());
    for (int w : words) l.Frames.push_back(static_cast<int16_t>(w));
  };
  push({0x4800, 0x0012, 0x3456});
  push({0xC002, 0x0000, 0x0001});
  push({0x8004, 0x3FFF, 0x0000});  // animation b
  push({0x4800});                  // a partial frame at the end: left alone
  // Two moveables share the animations; an id without animations is skipped.
  l.Moveables = {{1, 2, 0, 0, 0, 0, 0}, {2, 2, 0, 0, 0, 0, 0}, {3, 1, 0, 0, 0, -1, 0}};
  RescaleFrames(l);
  const std::pair<size_t, int> want[] = {{0, 0x4800},  {9, 0x4200},  {10, 0x0012}, {11, 0x3456},
                                         {21, 0xC000}, {22, 0x0000}, {23, 0x0001}, {33, 0x8001},
                                         {34, 0x3FFF}, {45, 0x4800}};
  for (auto [at, word] : want) EXPECT_EQ(l.Frames[at], int16_t(word)) << "word " << at;
}

// Only AI objects whose type is a static mesh of the level: a static with any other id would
// index past the game's static table.
TEST(ConvertTR4, AIObjectsWithAStaticMeshBecomeStaticsOfTheirRoomForTheThirdGame) {
  test::Tr4Draft d = Draft();
  while (d.Data.Rooms.size() < 6) d.Data.Rooms.push_back(d.Data.Rooms[0]);
  for (int32_t id : {398, 400}) d.Data.StaticMeshDefs.push_back({.ID = id});
  AIObject ai{};
  ai.Room = 5;
  ai.Angle = 0x12344000;
  d.Data.AIObjects.clear();
  for (int16_t id : {398, 399, 400}) {
    ai.ObjectID = id;
    ai.X = id * 10;
    d.Data.AIObjects.push_back(ai);
  }
  const size_t before = d.Data.Rooms[5].StaticMeshes.size();
  Converted tr3 = Convert(d, Game::TR3);
  ASSERT_TRUE(tr3.Lvl);
  EXPECT_EQ(
      tr3.Messages.Shown,
      std::vector<std::string>{"1 AI object has no static mesh to stand for it and was left out"});
  const Room& room = tr3.Lvl->Rooms[5];
  ASSERT_EQ(room.StaticMeshes.size(), before + 2);
  for (size_t i = 0; i < 2; ++i) {
    const RoomStatic& s = room.StaticMeshes[before + i];
    const int id = i == 0 ? 398 : 400;
    EXPECT_EQ(std::tie(s.ObjectID, s.X, s.Rotation, s.Intensity1, s.Intensity2),
              std::make_tuple(id, id * 10, 0x4000, 0x4210, 0x4210));
  }
  EXPECT_EQ(tr3.Lvl->Rooms[0].StaticMeshes.size(), before);
  Converted tr2 = Convert(d, Game::TR2);
  ASSERT_TRUE(tr2.Lvl);
  EXPECT_TRUE(tr2.Messages.Shown.empty());
  EXPECT_EQ(tr2.Lvl->Rooms[5].StaticMeshes.size(), before);
  EXPECT_EQ(LeftOutAIObjectsText(61),
            "61 AI objects have no static mesh to stand for them and were left out");
}

TEST(ConvertTR4, ObjectTextureCornersAreNormalised) {
  ObjectTexture quad;
  quad.Corners = {{{0, 0, 0, 0}, {0, 64, 0, 0}, {0, 64, 0, 64}, {0, 0, 0, 64}}};
  FixObjectTexture(quad);
  const std::array<ObjectTextureCorner, 4> want{
      {{1, 0, 1, 0}, {255, 63, 1, 0}, {255, 63, 255, 63}, {1, 0, 255, 63}}};
  EXPECT_EQ(std::memcmp(quad.Corners.data(), want.data(), sizeof want), 0);

  // A three-cornered texture: its tile loses the mark, its fourth corner is cleared, and an
  // odd largest pixel stays.
  ObjectTexture triangle;
  triangle.Tile = 0x8803;
  triangle.Corners = {{{0, 10, 0, 20}, {0, 63, 0, 20}, {0, 10, 0, 127}, {9, 9, 9, 9}}};
  FixObjectTexture(triangle);
  EXPECT_EQ(triangle.Tile, 3);
  const auto& c = triangle.Corners;
  EXPECT_EQ(std::make_tuple(c[1].XPixel, c[1].XCoordinate, c[2].YCoordinate, c[0].XCoordinate),
            std::make_tuple(63, 255, 255, 1));
  EXPECT_EQ(std::make_tuple(c[3].XCoordinate, c[3].YPixel), std::make_tuple(0, 0));
}

TEST(ConvertTR4, FloorDataListsWithUnknownEntriesAreDropped) {
  Level l;
  auto words = std::vector<uint16_t>{
      0,  // word 0 is no list
      // 1: a portal, a trigger of three actions whose second is a camera with its extra
      // word (carrying the end of the actions), then a kill entry that ends the list.
      0x0001, 3, 0x0004, 0x0100, 0x0005, 0x0402, 0x8000, 0x8005,
      // 9: an entry the older engines do not know
      0x0001, 3, 0x8016,
      // 12: a slope without the end mark, at the end of the floor data
      0x0002, 0x0010};
  for (uint16_t w : words) {
    l.FloorData.push_back(static_cast<uint8_t>(w & 0xFF));
    l.FloorData.push_back(static_cast<uint8_t>(w >> 8));
  }
  Room& room = l.Rooms.emplace_back();
  room.NumXSectors = 1;
  room.NumZSectors = 5;
  for (uint16_t index : {1, 9, 12, 0, 40}) room.Sectors.push_back({index, 0, 255, 0, 255, 0});
  DropUnknownFloorData(l);
  std::vector<uint16_t> kept;
  for (const Sector& s : room.Sectors) kept.push_back(s.FDIndex);
  // A list past the floor data's end is not walked and stays as it is.
  EXPECT_EQ(kept, (std::vector<uint16_t>{1, 0, 0, 0, 40}));
}

// The older layout read and written through the one mesh form: light values in place of
// normals and both coloured lists come back as they were; negative counts as empty lists.
TEST(AppendClassicMesh, WritesBackWhatTheReaderReadAndNegativeCountsAsEmpty) {
  MeshBytes m;
  m.Words({1, 2, 3}).Raw({0x00, 0x04, 0x00, 0x00}).Words({1, 7, 8, 9});
  m.Words({-1, 4000});                                          // a light value, no normals
  m.Words({1, 0, 0, 0, 0, 0x8007, 1, 0, 0, 0, 9});              // textured quad and triangle
  m.Words({1, 0, 0, 0, 0, 0x1F00, 2, 0, 0, 0, 5, 0, 0, 0, 6});  // coloured quad, 2 triangles
  size_t offset = 0;
  ByteWriter out;
  AppendClassicMesh(ParseMesh(m.Bytes, offset, Game::TR2), out);
  EXPECT_EQ(out.Bytes(), m.Bytes);

  MeshBytes negative;
  negative.Words({0, 0, 0, 0, 0, -3, 0, -1, -1, -2, -1});
  offset = 0;
  ByteWriter empty;
  AppendClassicMesh(ParseMesh(negative.Bytes, offset, Game::TR3), empty);
  EXPECT_EQ(empty.Bytes(), MeshBytes().Words({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Bytes);
}

TEST(ConvertTR4, MeshesAreRewrittenInTheOlderLayoutAndSharedOnce) {
  test::Tr4Draft d = Draft();
  auto second = Mesh(true);
  second[0] = 9;  // another centre
  const auto firstSize = static_cast<int32_t>(d.Data.MeshData.size());
  d.Data.MeshData.insert(d.Data.MeshData.end(), second.begin(), second.end());
  d.Data.MeshPointers = {0, firstSize, 0};

  for (Game target : {Game::TR2, Game::TR3}) {
    Converted c = Convert(d, target);
    ASSERT_TRUE(c.Lvl);
    const Level& l = *c.Lvl;
    auto classic = Mesh(false);
    const auto size = static_cast<int32_t>(classic.size());
    EXPECT_EQ(l.MeshPointers, (std::vector<int32_t>{0, size, 0}));
    ASSERT_EQ(l.MeshData.size(), 2 * classic.size());
    EXPECT_TRUE(std::equal(classic.begin(), classic.end(), l.MeshData.begin()));
    EXPECT_EQ(l.MeshData[static_cast<size_t>(size)], 9);
    // The quad's effects word had the additive bit: its texture becomes additive in the
    // third game; the triangle's texture (0) stays as it was.
    EXPECT_EQ(l.ObjectTextures[1].Attribute, target == Game::TR3 ? 2 : 1);
    EXPECT_EQ(l.ObjectTextures[0].Attribute, 1);
  }
  // A pointer at no mesh refuses the conversion.
  d.Data.MeshPointers = {0, 4000};
  Converted c = Convert(d, Game::TR2);
  EXPECT_FALSE(c.Lvl);
  ASSERT_EQ(c.Messages.Shown.size(), 1u);
  EXPECT_NE(c.Messages.Shown[0].find("level.tr4 can't be converted: mesh pointer 1"),
            std::string::npos)
      << c.Messages.Shown[0];
}

}  // namespace
}  // namespace slab

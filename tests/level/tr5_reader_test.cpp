// The fifth-game reader against files composed field by field.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "level/load_level.h"
#include "level/read_tr45.h"
#include "level/rounding.h"
#include "tools/compose_tr45.h"
#include "support/real_levels.h"

namespace slab {
namespace {

using test::ComposeTR5;
using test::SampleTr5Draft;
using test::Tr5Draft;

Level ReadTr5(const std::vector<uint8_t>& bytes) {
  auto got = test::LoadBytes(bytes, "T.TRC");
  EXPECT_TRUE(got->Result.Loaded && got->Messages.Shown.empty()) << got->FirstMessage();
  return std::move(got->Result.Lvl);
}

TEST(Tr5Reader, ReadsRoomsAndTheKeptLists) {
  Tr5Draft draft = SampleTr5Draft();
  auto composed = ComposeTR5(draft);
  Level got = ReadTr5(composed.Bytes);
  EXPECT_EQ(std::tie(got.Tr5HeaderA, got.Tr5HeaderB), std::make_tuple(3, -4));
  ASSERT_EQ(got.Rooms.size(), 2u);
  EXPECT_TRUE(got.Rooms[1].Vertices.empty() && got.Rooms[1].Rectangles.empty());
  const Room& room = got.Rooms[0];
  EXPECT_EQ(room.DataStart, int32_t(composed.RoomAt[0] + 8 + 1));  // counted from 1
  EXPECT_EQ(std::tie(room.Info.YTop, room.Flags), std::make_tuple(-3072, 64));
  EXPECT_EQ(std::tie(room.Tr5RoomByte, room.WaterScheme, room.ReverbInfo, room.AlternateGroup),
            std::make_tuple(0x11, 0x22, 0x33, 0x44));
  ASSERT_EQ(room.Sectors.size(), 6u);
  EXPECT_EQ(room.SectorAt(2, 1).FDIndex, 5);
  EXPECT_EQ(room.Portals.at(0).Normal[2], -1);
  EXPECT_EQ(room.StaticMeshes.at(0).ObjectID, 7);
  ASSERT_EQ(room.Lights.size(), 2u);
  const RoomLight& light = room.Lights[1];
  EXPECT_EQ(std::tie(light.FX, light.Red, light.DirZ), std::make_tuple(1.5f, 0.5f, -1.0f));
  EXPECT_EQ(std::tie(light.DZ, light.LightType), std::make_tuple(-4096, 2));

  // Two layers of 10 and 6 vertices: one list of 16, the second layer's faces shifted by 10.
  ASSERT_EQ(room.Vertices.size(), 16u);
  EXPECT_EQ(room.Vertices[9].X, 9216);
  EXPECT_EQ(room.Vertices[9].Z, 1024);   // 1023.5
  EXPECT_EQ(room.Vertices[10].X, 1022);  // 1022.5
  ASSERT_EQ(room.Rectangles.size(), 3u);
  EXPECT_EQ(room.Rectangles[2].Vertices, (std::array<int16_t, 4>{10, 11, 12, 13}));
  EXPECT_EQ(room.Rectangles[2].Extra, 13);
  ASSERT_EQ(room.Triangles.size(), 3u);
  EXPECT_EQ(room.Triangles[0].Vertices, (std::array<int16_t, 3>{7, 8, 9}));
  EXPECT_EQ(room.Triangles[2].Vertices, (std::array<int16_t, 3>{10, 14, 15}));
  EXPECT_EQ(room.Triangles[2].Texture, 6);

  EXPECT_EQ(got.FloorData, draft.Data.FloorData);
  EXPECT_EQ(got.Frames, draft.Data.Frames);
  EXPECT_EQ(got.Moveables.at(0).Spare, 0xCDCD);
  EXPECT_EQ(got.StaticMeshDefs.at(1).ID, 9);
  EXPECT_EQ(got.ObjectTextures.at(1).Tr5Padding, 0xABCD);
  EXPECT_EQ(got.Items.at(0).OCB, 3);
  EXPECT_EQ(got.AIObjects.at(0).Angle, 3);
}

// The cameras, fly-by cameras and sound sources after the sprites are kept, as the fourth game
// keeps them; a count the rest of the level data cannot hold is refused, naming it.
TEST(Tr5Reader, KeepsCamerasFlybysAndSoundSourcesStrictly) {
  const Tr5Draft draft = SampleTr5Draft();
  const auto composed = ComposeTR5(draft);
  Level got = ReadTr5(composed.Bytes);
  ASSERT_EQ(got.Cameras.size(), 2u);
  EXPECT_EQ(std::tie(got.Cameras[0].X, got.Cameras[0].Y, got.Cameras[0].Room, got.Cameras[0].Flag),
            std::make_tuple(100, -200, int16_t(1), uint16_t(2)));
  ASSERT_EQ(got.FlybyCameras.size(), 2u);
  EXPECT_EQ(got.FlybyCameras[1].Bytes[39], 0x55);
  ASSERT_EQ(got.SoundSources.size(), 1u);
  EXPECT_EQ(std::tie(got.SoundSources[0].Z, got.SoundSources[0].SoundID),
            std::make_tuple(9, uint16_t(10)));
  EXPECT_EQ(got.Items.at(0).OCB, 3);  // what follows is still in place

  for (const char* count : {"NumCameras", "NumFlybyCameras", "NumSoundSources"}) {
    auto bytes = composed.Bytes;
    const size_t at = composed.Section(count).Offset;
    const int32_t forged = 0x01000000;
    std::memcpy(bytes.data() + at, &forged, 4);
    auto refused = test::LoadBytes(bytes, "T.TRC");
    EXPECT_FALSE(refused->Result.Loaded) << count;
    EXPECT_NE(refused->FirstMessage().find(std::string(count) + " is 16777216 at byte " +
                                           std::to_string(at)),
              std::string::npos)
        << refused->FirstMessage();
  }
}

// A room's portal and static-mesh counts are held to the room's own layout: they lie between
// its sectors and its layers, so a forged count is refused there, not read into thousands of
// entries from the bytes after it.
TEST(Tr5Reader, PortalAndStaticCountsPastTheRoomsLayersAreRefused) {
  const Tr5Draft draft = SampleTr5Draft();
  const auto composed = ComposeTR5(draft);
  const size_t room = composed.RoomAt[0];
  int32_t sectorOffset;
  std::memcpy(&sectorOffset, composed.Bytes.data() + room + 16, 4);
  const Room& base = draft.Rooms[0].Base;
  const size_t portalsAt =
      room + 8 + size_t(sectorOffset) + 208 + size_t(base.NumXSectors * base.NumZSectors) * 8;
  const size_t staticsAt = room + 58;
  for (const auto& [at, what] : {std::pair{portalsAt, std::string("portals")},
                                 std::pair{staticsAt, std::string("static meshes")}}) {
    auto bytes = composed.Bytes;
    const int16_t forged = 0x7FFF;
    std::memcpy(bytes.data() + at, &forged, 2);
    auto got = test::LoadBytes(bytes, "T.TRC");
    EXPECT_FALSE(got->Result.Loaded) << what;
    EXPECT_EQ(got->FirstMessage().rfind("T.TRC is damaged: room 0 states 32767 " + what +
                                            " at byte " + std::to_string(at) + ", but only ",
                                        0),
              0u)
        << got->FirstMessage();
    EXPECT_NE(got->FirstMessage().find(" bytes lie before its layers, room for "),
              std::string::npos)
        << got->FirstMessage();
  }
}

// Faces are padded to four bytes when their count is odd (the sample's three triangles): with
// four there is no pad, and a misread one would shift every vertex after it.
TEST(Tr5Reader, AnEvenFaceCountHasNoPadding) {
  Tr5Draft draft = SampleTr5Draft();
  auto& layer = draft.Rooms[0].Layers[1];
  layer.Triangles.push_back(layer.Triangles[0]);
  Level got = ReadTr5(ComposeTR5(draft).Bytes);
  const Room& room = got.Rooms.at(0);
  EXPECT_EQ(room.Triangles.size(), 4u);
  EXPECT_EQ(room.Vertices[0].Y, -256);
  EXPECT_EQ(room.Vertices[15].X, 1022);
}

// A room without its marker, offsets outside the room's own block, counts past the file and
// negative counts are refused (a room never reads another room's bytes, so what a load holds
// stays in step with the file).
TEST(Tr5Reader, OffsetsAndCountsOutsideTheFileAreRefused) {
  Tr5Draft draft = SampleTr5Draft();
  auto composed = ComposeTR5(draft);
  const size_t room = composed.RoomAt[0];
  auto patched = [&](size_t at, int32_t value) {
    auto bytes = composed.Bytes;
    std::memcpy(bytes.data() + at, &value, 4);
    return bytes;
  };
  auto refusal = [](const std::vector<uint8_t>& bytes) {
    auto got = test::LoadBytes(bytes, "T.TRC");
    return got->Result.Loaded ? std::string("not refused") : got->FirstMessage();
  };
  const std::pair<std::vector<uint8_t>, std::string> cases[] = {
      {patched(room, 0x424C4558), "BAD Room!"},                                 // "XELB"
      {patched(room + 16, 0x7FFFFFF0), "room 0 points outside its own block"},  // sectors
      {patched(room + 16, -100000), "room 0 points outside its own block"},
      {patched(room + 180, 0x7FFFFFF0), "room 0 points outside its own block"},  // layers
      {patched(room + 176, 0x7FFFFFFF), "the file ends inside room 0"},          // layer count
      {patched(room + 164, 0x7FFFFFFF), "the file ends inside room 0"},          // fog
      {patched(room + 4, 0x7FFFFFF0), "the file ends inside room 0"},            // block size
      {patched(room + 176, -1), "NumLayers of room 0 is -1 at byte " + std::to_string(room + 176)},
      {patched(room + 4, -8), "BlockSize of room 0 is -8 at byte " + std::to_string(room + 4)},
  };
  for (const auto& [bytes, want] : cases) {
    std::string got = refusal(bytes);
    EXPECT_NE(got.find(want), std::string::npos) << got;
  }

  // A layer claiming more vertices than the file holds.
  auto bytes = composed.Bytes;
  int32_t layerOffset;
  std::memcpy(&layerOffset, bytes.data() + room + 180, 4);
  EXPECT_NE(refusal(patched(room + 216 + layerOffset, 0x40000000)), "not refused");

  // Another marker keeps its message exact and says under it which room, where, and what
  // the block starts with instead.
  auto got = test::LoadBytes(patched(room, 0x424C4558), "T.TRC");
  EXPECT_EQ(got->Messages.Shown, std::vector<std::string>{"BAD Room!"});
  EXPECT_EQ(got->Messages.Details,
            std::vector<std::string>{"Room 0, at byte " + std::to_string(room) +
                                     ", starts with 58 45 4C 42 (\"XELB\") where a room starts "
                                     "with \"XELA\"."});
}

// The sound data after the kept lists is walked over: a file cut inside it, a level-data size
// that disagrees with where the level data ends, or a sample larger than the rest of the file
// is reported under one message, and the level opens with everything it keeps.
TEST(Tr5Reader, DamagedSoundDataIsReportedAndTheLevelOpens) {
  const auto composed = ComposeTR5(SampleTr5Draft());
  const size_t sample1 = composed.Section("sample 1").Offset;
  const size_t samples = composed.Section("NumSamples").Offset;
  auto patched = [&](size_t at, uint32_t value) {
    auto bytes = composed.Bytes;
    std::memcpy(bytes.data() + at, &value, 4);
    return bytes;
  };
  // The level data's two sizes lie 8 bytes before its first word (4 unused, then the rooms).
  const size_t sizesAt = composed.Section("NumRooms").Offset - 12;
  const uint32_t length = static_cast<uint32_t>(samples - sizesAt - 8);
  const std::pair<std::vector<uint8_t>, std::string> cases[] = {
      {composed.Truncated(sample1 + 9),
       "The file ends inside sample 1, at byte " + std::to_string(sample1 + 9) + "."},
      {patched(sizesAt, length + 2), "Its level data size is " + std::to_string(length + 2) +
                                         " at byte " + std::to_string(sizesAt) +
                                         ", but the level data ends after " +
                                         std::to_string(length) + " bytes."},
      {patched(sizesAt + 4, 7), "Its level data size is 7 at byte " + std::to_string(sizesAt + 4) +
                                    ", but the level data ends after " + std::to_string(length) +
                                    " bytes."},
      {patched(sample1 + 4, 0x7FFFFFFF), "CompressedSize of sample 1 is 2147483647 at byte " +
                                             std::to_string(sample1 + 4) +
                                             "; the rest of the file holds at most 2."},
  };
  for (const auto& [bytes, detail] : cases) {
    auto got = test::LoadBytes(bytes, "dir/T.TRC");
    EXPECT_TRUE(got->Result.Loaded);
    EXPECT_EQ(got->Result.Lvl.Items.size(), 1u);
    EXPECT_EQ(
        got->Messages.Shown,
        std::vector<std::string>{"T.TRC's sound data is damaged; the level opens without it"});
    EXPECT_EQ(got->Messages.Details, std::vector<std::string>{detail});
  }

  auto longer = composed.Bytes;
  longer.insert(longer.end(), 5, 0);
  auto got = test::LoadBytes(longer, "T.TRC");
  EXPECT_EQ(got->Messages.Shown,
            std::vector<std::string>{"T.TRC has 5 bytes after its samples; they are not part of "
                                     "the level and are left out"});
}

TEST(Tr5Reader, VertexCoordinatesRoundHalvesToEvenAndClamp) {
  const std::pair<float, int16_t> cases[] = {
      {1023.5f, 1024}, {1022.5f, 1022}, {-2.5f, -2},
      {-2.6f, -3},     {-0.5f, 0},      {1.5f, 2},
      {1e9f, 32767},   {-1e9f, -32768}, {std::numeric_limits<float>::quiet_NaN(), 0}};
  for (auto [in, want] : cases) EXPECT_EQ(RoundEven<int16_t>(in), want) << in;
}

}  // namespace
}  // namespace slab

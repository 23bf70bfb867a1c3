// Every real fourth-game level converted for both older engines, with the sprites of a real
// third-game level made into a wad.
#include <gtest/gtest.h>

#include <algorithm>

#include "level/load_level.h"
#include "level/mesh.h"
#include "support/real_levels.h"
#include "write/convert_tr4.h"
#include "write/sprite_wad.h"
#include "write/write_level.h"

namespace slab {
namespace {

using test::ReadFile;

// A wad with real sprites: the first third-game level's.
SpriteWad RealWad() {
  auto levels = test::RealLevels({"tr3/"});
  if (levels.empty()) return {};
  auto loaded = test::LoadFile(levels.front());
  std::string error;
  auto wad = MakeSpriteWad(loaded->Result.Lvl, loaded->GameVersion, error);
  EXPECT_TRUE(wad) << error;
  return wad ? *wad : SpriteWad{};
}

class ConvertRealLevel : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(ConvertRealLevel, ConvertsForBothEngines) {
  SLAB_REQUIRE_REAL_LEVELS();
  const SpriteWad wad = RealWad();
  ASSERT_FALSE(wad.SpriteTextures.empty());
  const std::filesystem::path& path = GetParam();
  {
    const auto bytes = ReadFile(path);
    auto original = test::LoadBytes(bytes, path.string());
    ASSERT_TRUE(original->Result.Loaded) << path;
    const Level& tr4 = original->Result.Lvl;
    for (Game target : {Game::TR2, Game::TR3}) {
      SCOPED_TRACE(path.filename().string() + " for game " + std::to_string(GameNumber(target)));
      RecordingSink sink;
      auto converted = ConvertTR4Level(bytes, path.string(), target, wad, sink);
      ASSERT_TRUE(converted.has_value()) << (sink.Shown.empty() ? "" : sink.Shown[0]);
      // AI objects become statics only where a static mesh of the level stands for them.
      const auto leftOut =
          std::count_if(tr4.AIObjects.begin(), tr4.AIObjects.end(), [&](const AIObject& ai) {
            return std::none_of(tr4.StaticMeshDefs.begin(), tr4.StaticMeshDefs.end(),
                                [&](const StaticMeshDef& def) { return def.ID == ai.ObjectID; });
          });
      if (target == Game::TR3 && leftOut > 0)
        EXPECT_EQ(sink.Shown,
                  std::vector<std::string>{LeftOutAIObjectsText(static_cast<int>(leftOut))});
      else
        EXPECT_TRUE(sink.Shown.empty()) << sink.Shown[0];
      // Our reader reads it to its very end (it would report bytes left), without a word.
      auto loaded = test::LoadBytes(EncodeClassicLevel(*converted, target), "converted.tr2");
      ASSERT_TRUE(loaded->Result.Loaded) << loaded->FirstMessage();
      EXPECT_TRUE(loaded->Messages.Shown.empty()) << loaded->FirstMessage();
      EXPECT_EQ(loaded->GameVersion, target);
      const Level& reread = loaded->Result.Lvl;
      ASSERT_EQ(reread.Rooms.size(), tr4.Rooms.size());
      for (size_t i = 0; i < tr4.Rooms.size(); ++i)
        EXPECT_EQ(reread.Rooms[i].Sectors.size(), tr4.Rooms[i].Sectors.size()) << "room " << i;
      EXPECT_EQ(reread.FloorData.size(), tr4.FloorData.size());
      EXPECT_EQ(reread.Items.size(), tr4.Items.size());
      ASSERT_EQ(reread.MeshPointers.size(), tr4.MeshPointers.size());
      for (int32_t pointer : reread.MeshPointers) {
        size_t offset = static_cast<size_t>(pointer);
        ASSERT_NO_THROW(ParseMesh(reread.MeshData, offset, target)) << "mesh at " << pointer;
      }
      const size_t pages = reread.Textile16.size() / kPagePixels;
      EXPECT_EQ(static_cast<size_t>(reread.NumTextiles), pages);
      for (const ObjectTexture& t : reread.ObjectTextures) ASSERT_LT(t.Tile, pages);
      ASSERT_EQ(reread.SpriteTextures.size(), wad.SpriteTextures.size());
      for (const SpriteTexture& t : reread.SpriteTextures) ASSERT_LT(t.Tile, pages);
      for (const Room& room : reread.Rooms)
        for (const RoomStatic& s : room.StaticMeshes)
          ASSERT_TRUE(std::any_of(reread.StaticMeshDefs.begin(), reread.StaticMeshDefs.end(),
                                  [&](const StaticMeshDef& def) { return def.ID == s.ObjectID; }))
              << "a static of id " << s.ObjectID << " that the static table lacks";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(RealLevels, ConvertRealLevel, test::RealLevelParams({"tr4/"}),
                         test::RealLevelName);

}  // namespace
}  // namespace slab

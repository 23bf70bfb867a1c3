// Every real fourth-game level converted for both older engines, with the sprites of a real
// third-game level made into a wad.
#include <gtest/gtest.h>

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

TEST(ConvertRealLevels, EveryFourthGameLevelConvertsForBothEngines) {
  SLAB_REQUIRE_REAL_LEVELS();
  const SpriteWad wad = RealWad();
  ASSERT_FALSE(wad.SpriteTextures.empty());
  auto levels = test::RealLevels({"tr4/"});
  ASSERT_FALSE(levels.empty());
  for (const auto& path : levels) {
    const auto bytes = ReadFile(path);
    auto original = test::LoadBytes(bytes, path.string());
    ASSERT_TRUE(original->Result.Loaded) << path;
    const Level& tr4 = original->Result.Lvl;
    for (Game target : {Game::TR2, Game::TR3}) {
      SCOPED_TRACE(path.filename().string() + " for game " + std::to_string(GameNumber(target)));
      RecordingSink sink;
      auto converted = ConvertTR4Level(bytes, path.string(), target, wad, sink);
      ASSERT_TRUE(converted.has_value()) << (sink.Shown.empty() ? "" : sink.Shown[0]);
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
    }
  }
}

}  // namespace
}  // namespace slab

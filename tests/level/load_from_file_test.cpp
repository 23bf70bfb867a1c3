// LoadLevel reads classic files from disk in parts (the pages straight into their lists):
// it must agree with reading the same bytes from memory, and refuse damage the same way.
#include <gtest/gtest.h>
#include <unistd.h>

#include "level/load_level.h"
#include "support/compose_classic.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

fs::path TempFile(const std::string& name) {
  return fs::temp_directory_path() / ("slab_load_" + std::to_string(::getpid()) + "_" + name);
}

void ExpectSameLevel(const Level& a, const Level& b) {
  EXPECT_EQ(a.Textile8, b.Textile8);
  EXPECT_EQ(a.Textile16, b.Textile16);
  EXPECT_EQ(a.Rooms.size(), b.Rooms.size());
  EXPECT_EQ(a.FloorData, b.FloorData);
  EXPECT_EQ(a.MeshData, b.MeshData);
  EXPECT_EQ(a.Items.size(), b.Items.size());
  EXPECT_EQ(a.SoundMap, b.SoundMap);
  EXPECT_EQ(a.SampleIndices, b.SampleIndices);
  EXPECT_EQ(a.Tr1SampleData, b.Tr1SampleData);
  EXPECT_EQ(a.Tr1Palette, b.Tr1Palette);
  EXPECT_EQ(a.Palette, b.Palette);
}

TEST(LoadFromFile, AgreesWithMemoryForEveryClassicVersionAndLayout) {
  for (int version : {kTR1, kTR2, kTR3}) {
    for (auto layout : {Tr1PaletteLayout::AfterLightMap, Tr1PaletteLayout::AfterSpriteSequences}) {
      if (version != kTR1 && layout == Tr1PaletteLayout::AfterSpriteSequences) continue;
      auto draft = test::SampleDraft(version);
      draft.Tr1Palette = layout;
      draft.NumTextiles = 2;
      auto file = test::ComposeClassic(draft);
      auto path = TempFile("agree.tr2");
      test::WriteBytes(path, file.Bytes);
      RecordingSink fromDisk, fromMemory;
      int v1 = 0, v2 = 0;
      LoadResult a = LoadLevel(path, v1, fromDisk);
      LoadResult b = LoadLevelFromBytes(file.Bytes, path.string(), v2, fromMemory);
      fs::remove(path);
      ASSERT_TRUE(a.Loaded) << (fromDisk.Shown.empty() ? "" : fromDisk.Shown[0]);
      ASSERT_TRUE(b.Loaded);
      EXPECT_EQ(v1, version);
      EXPECT_EQ(fromDisk.Shown, fromMemory.Shown);
      ExpectSameLevel(a.Lvl, b.Lvl);
    }
  }
}

TEST(LoadFromFile, TruncatedFilesAreRefusedWithTheFileNamedAndTheSameMessage) {
  auto file = test::ComposeClassic(test::SampleDraft(kTR2));
  auto path = TempFile("cut.tr2");
  // Inside the header, inside the pages, just after them, and near the end.
  const auto& pages = file.Section("Textile16");
  for (size_t cut : {size_t{3}, size_t{700}, pages.Offset + 10, pages.Offset + pages.Size + 2,
                     file.Bytes.size() - 1}) {
    test::WriteBytes(path, file.Truncated(cut));
    RecordingSink fromDisk, fromMemory;
    int v = 0;
    EXPECT_FALSE(LoadLevel(path, v, fromDisk).Loaded) << cut;
    LoadLevelFromBytes(file.Truncated(cut), path.string(), v, fromMemory);
    ASSERT_EQ(fromDisk.Shown.size(), 1u) << cut;
    EXPECT_NE(fromDisk.Shown[0].find(path.filename().string()), std::string::npos);
    EXPECT_EQ(fromDisk.Shown, fromMemory.Shown) << cut;
  }
  // A page count the file cannot hold is refused before anything is sized from it.
  test::WriteBytes(path, file.WithCount("NumTextiles", 0x7FFFFFFF));
  RecordingSink sink;
  int v = 0;
  EXPECT_FALSE(LoadLevel(path, v, sink).Loaded);
  EXPECT_EQ(sink.Shown.size(), 1u);
  fs::remove(path);
}

}  // namespace
}  // namespace slab

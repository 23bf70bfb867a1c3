// What a load holds stays in step with the file, whatever sizes its compressed chunks state:
// forged sizes of every chunk, a stream built to inflate a thousandfold, and real levels with
// their sizes forged.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <random>

#include "allocation_tracker.h"
#include "level/load_level.h"
#include "support/compose_tr45.h"
#include "support/real_levels.h"

namespace slab {
namespace {

constexpr size_t kMostHeld = size_t{512} << 20;
// Small files may inflate to a fixed few megabytes (tool-made levels compress their pages
// very well); beyond that a load holds at most 64 times the file.
constexpr size_t kSmallFileAllowance = size_t{8} << 20;

size_t Allowed(size_t fileSize) { return std::min(kMostHeld, 64 * fileSize + kSmallFileAllowance); }

// Where each zlib chunk's header starts: they follow the version word and page counts.
std::vector<size_t> ChunkOffsets(const std::vector<uint8_t>& file, int chunks) {
  std::vector<size_t> at;
  size_t pos = 10;
  for (int i = 0; i < chunks; ++i) {
    at.push_back(pos);
    uint32_t compressed;
    std::memcpy(&compressed, file.data() + pos + 4, 4);
    pos += 8 + compressed;
  }
  return at;
}

std::vector<uint8_t> WithStatedSize(std::vector<uint8_t> file, size_t chunkAt, uint32_t size) {
  std::memcpy(file.data() + chunkAt, &size, 4);
  return file;
}

std::vector<uint8_t> RandomBytes(size_t n) {
  std::mt19937 random(7);
  std::vector<uint8_t> out(n);
  for (auto& b : out) b = static_cast<uint8_t>(random());
  return out;
}

struct Measured {
  LoadResult Result;
  RecordingSink Messages;
  size_t Peak = 0;
};

std::unique_ptr<Measured> Measure(const std::vector<uint8_t>& bytes, const std::string& name) {
  auto m = std::make_unique<Measured>();
  int gameVersion = 0;
  test::ResetAllocations();
  m->Result = LoadLevelFromBytes(bytes, name, gameVersion, m->Messages);
  m->Peak = test::PeakAllocatedSinceReset();
  return m;
}

// Pages that do not compress, so the file is large enough for the ratio to matter.
std::vector<uint8_t> IncompressibleTr4() {
  test::Tr4Draft draft = test::SampleTr4Draft();
  draft.Pages32 = RandomBytes(4 * kPagePixels * 4);
  draft.Pages16 = RandomBytes(4 * kPagePixels * 2);
  return test::ComposeTR4(draft).Bytes;
}

TEST(BoundedMemory, ForgedSizeOfEveryChunkHoldsNoMoreThanTheDataGives) {
  struct Case {
    const char* Name;
    std::vector<uint8_t> File;
    int Chunks;
    int LevelDataChunk;  // -1: none
  };
  test::Tr5Draft tr5 = test::SampleTr5Draft();
  tr5.Pages32 = RandomBytes(2 * kPagePixels * 4);
  const Case cases[] = {{"F.TR4", IncompressibleTr4(), 4, 3},
                        {"F.TRC", test::ComposeTR5(tr5).Bytes, 3, -1}};
  for (const Case& c : cases) {
    const auto chunks = ChunkOffsets(c.File, c.Chunks);
    for (int chunk = 0; chunk < c.Chunks; ++chunk)
      for (uint32_t stated : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x10000000u}) {
        SCOPED_TRACE(std::string(c.Name) + " chunk " + std::to_string(chunk) + " states " +
                     std::to_string(stated));
        auto m = Measure(WithStatedSize(c.File, chunks[chunk], stated), c.Name);
        EXPECT_LE(m->Peak, Allowed(c.File.size()));
        ASSERT_EQ(m->Messages.Shown.size(), 1u);
        if (chunk == c.LevelDataChunk) {
          EXPECT_FALSE(m->Result.Loaded);
          EXPECT_NE(m->Messages.Shown[0].find("is damaged: its level data chunk"),
                    std::string::npos);
        } else {
          EXPECT_TRUE(m->Result.Loaded);
          EXPECT_EQ(m->Messages.Shown[0],
                    std::string(c.Name) +
                        "'s texture pages are damaged; they show as far as they could be read");
          // The pages are what the stream held, not what it claimed.
          EXPECT_LE(m->Result.Lvl.NumTextiles, 4);
          EXPECT_LE(m->Result.Lvl.NumMiscTextiles, 3);
        }
      }
  }
}

// A genuine stream of zeros inflates about a thousandfold: it is cut at the load's budget, the
// pages are reported damaged and the level still opens.
TEST(BoundedMemory, StreamsThatInflateAThousandfoldAreCut) {
  const std::vector<uint8_t> zeros(size_t{64} << 20, 0);
  uLongf packedSize = compressBound(zeros.size());
  std::vector<uint8_t> packed(packedSize);
  ASSERT_EQ(compress2(packed.data(), &packedSize, zeros.data(), zeros.size(), 9), Z_OK);
  packed.resize(packedSize);

  auto file = test::ComposeTR4(test::SampleTr4Draft());
  const size_t at = file.ChunkAt[0];
  uint32_t oldPacked;
  std::memcpy(&oldPacked, file.Bytes.data() + at + 4, 4);
  std::vector<uint8_t> bomb(file.Bytes.begin(), file.Bytes.begin() + at);
  const uint32_t header[2] = {static_cast<uint32_t>(zeros.size()),
                              static_cast<uint32_t>(packed.size())};
  bomb.insert(bomb.end(), reinterpret_cast<const uint8_t*>(header),
              reinterpret_cast<const uint8_t*>(header) + 8);
  bomb.insert(bomb.end(), packed.begin(), packed.end());
  bomb.insert(bomb.end(), file.Bytes.begin() + at + 8 + oldPacked, file.Bytes.end());

  auto m = Measure(bomb, "BOMB.TR4");
  EXPECT_TRUE(m->Result.Loaded);
  ASSERT_EQ(m->Messages.Shown.size(), 1u);
  EXPECT_NE(m->Messages.Shown[0].find("texture pages are damaged"), std::string::npos);
  EXPECT_LE(m->Peak, Allowed(bomb.size()));
  EXPECT_LT(m->Result.Lvl.Textile32.size() * 4, zeros.size() / 4);
}

// The largest real fourth-game level with each chunk's size forged: peak within 64 times the
// file and under 512 MB; texture chunks open damaged, the level data refuses the file.
TEST(BoundedMemory, RealLevelWithForgedChunkSizes) {
  SLAB_REQUIRE_REAL_LEVELS();
  std::filesystem::path largest;
  for (const auto& path : test::RealLevels({"tr4/"}))
    if (largest.empty() || file_size(path) > file_size(largest)) largest = path;
  ASSERT_FALSE(largest.empty());
  std::ifstream in(largest, std::ios::binary);
  const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  const auto chunks = ChunkOffsets(file, 4);
  for (int chunk = 0; chunk < 4; ++chunk)
    for (uint32_t stated : {0x7FFFFFFFu, 0xFFFFFFFFu}) {
      SCOPED_TRACE("chunk " + std::to_string(chunk) + " states " + std::to_string(stated));
      auto m = Measure(WithStatedSize(file, chunks[chunk], stated), "REAL.TR4");
      EXPECT_LE(m->Peak, std::min(kMostHeld, 64 * file.size()));
      EXPECT_EQ(m->Result.Loaded, chunk != 3);
      EXPECT_EQ(m->Messages.Shown.size(), 1u);
    }
}

}  // namespace
}  // namespace slab

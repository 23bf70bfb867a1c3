// Damaged files of every game, made from composed ones: cut at every section, each count forged
// huge or negative, compressed chunks stating sizes they do not hold. Each is refused (or opens
// with a report) with one message naming the file and what is wrong, and no load sizes
// anything by a number the file cannot back.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "allocation_tracker.h"
#include "tools/compose_classic.h"
#include "tools/compose_tr45.h"
#include "support/real_levels.h"

namespace slab {
namespace {

using Bytes = std::vector<uint8_t>;

// A composed level of one game. Sections lie in Data, which is the file itself, or for the
// fourth game the inflated level data that Pack puts back into the file.
struct Specimen {
  std::string Name;
  Bytes File, Data;
  std::vector<test::ComposedSection> Sections;
  std::function<Bytes(const Bytes&)> Pack = [](const Bytes& data) { return data; };
  std::array<size_t, 4> ChunkAt{};  // compressed chunks (fourth and fifth game)
  int Chunks = 0;
};

Bytes RandomBytes(size_t n) {
  std::mt19937 random(7);
  Bytes out(n);
  for (auto& b : out) b = static_cast<uint8_t>(random());
  return out;
}

// The bytes with the count in `section` (2 or 4 bytes) set to value.
Bytes WithCount(Bytes bytes, const test::ComposedSection& section, uint32_t value) {
  for (size_t i = 0; i < section.Size && i < 4; ++i)
    bytes[section.Offset + i] = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

Specimen Make(Game game) {
  Specimen s;
  if (game <= Game::TR3) {
    test::DraftLevel draft = test::SampleDraft(game);
    draft.NumTextiles = 0;
    auto file = test::ComposeClassic(draft);
    s = {"LEVEL.TR2", file.Bytes, file.Bytes, file.Sections};
  } else if (game == Game::TR4) {
    // Pages that do not compress, so the file is large enough for the size checks to matter.
    test::Tr4Draft draft = test::SampleTr4Draft();
    draft.NumRoomTextiles = 4;
    draft.Pages32 = RandomBytes(4 * kPagePixels * 4);
    draft.Pages16 = RandomBytes(4 * kPagePixels * 2);
    auto file = std::make_shared<test::ComposedTr4>(test::ComposeTR4(draft));
    s = {"LEVEL.TR4", file->Bytes, file->LevelData.Bytes, file->LevelData.Sections};
    s.Pack = [file](const Bytes& data) { return file->WithLevelData(data); };
    s.ChunkAt = file->ChunkAt;
    s.Chunks = 4;
  } else {
    test::Tr5Draft draft = test::SampleTr5Draft();
    draft.NumObjTextiles = 1;
    draft.Pages32 = RandomBytes(2 * kPagePixels * 4);
    draft.Pages16 = RandomBytes(2 * kPagePixels * 2);
    auto file = test::ComposeTR5(draft);
    s = {"LEVEL.TRC", file.Bytes, file.Bytes, file.Sections};
    std::copy(file.ChunkAt.begin(), file.ChunkAt.end(), s.ChunkAt.begin());
    s.Chunks = 3;
  }
  return s;
}

class Damaged : public ::testing::TestWithParam<Game> {};

// Where a fifth-game file's sound data starts: what follows is walked over, not kept, so damage
// there is reported and the level opens.
size_t SoundDataAt(const Specimen& s, Game game) {
  if (game != Game::TR5) return SIZE_MAX;
  for (const auto& section : s.Sections)
    if (section.Name == "NumDemoData") return section.Offset;
  ADD_FAILURE() << "no demo-data count in the composed file";
  return SIZE_MAX;
}

// How a message names a composed count: "room 1 NumLights" is "NumLights of room 1".
std::string CountName(const std::string& section) {
  const size_t space = section.rfind(' ');
  if (!section.starts_with("room ") || space == std::string::npos) return section;
  return section.substr(space + 1) + " of " + section.substr(0, space);
}

// Cut at the start and the middle of every section and at sixteenths of the file: refused, one
// message naming the file and the byte where the data ran out, nothing kept. A fifth-game file
// cut inside its sound data opens and says so.
TEST_P(Damaged, CutAnywhereIsRefused) {
  const Specimen s = Make(GetParam());
  const size_t soundAt = SoundDataAt(s, GetParam());
  std::vector<Bytes> cuts;
  for (const auto& section : s.Sections)
    for (size_t at : {section.Offset, section.Offset + section.Size / 2})
      cuts.push_back(s.Pack(Bytes(s.Data.begin(), s.Data.begin() + at)));
  for (size_t k = 0; k < 16; ++k)
    cuts.emplace_back(s.File.begin(), s.File.begin() + s.File.size() * k / 16);
  int soundCuts = 0;
  for (const Bytes& cut : cuts) {
    SCOPED_TRACE("cut to " + std::to_string(cut.size()) + " bytes");
    auto got = test::LoadBytes(cut, "dir/" + s.Name);
    ASSERT_EQ(got->Messages.Shown.size(), 1u);
    const std::string& m = got->Messages.Shown[0];
    if (cut.size() >= soundAt) {
      ++soundCuts;
      EXPECT_TRUE(got->Result.Loaded);
      EXPECT_EQ(m, s.Name + "'s sound data is damaged; the level opens without it");
      const std::string& detail = got->Messages.Details[0];
      EXPECT_EQ(detail.rfind("The file ends inside ", 0), 0u) << detail;
      EXPECT_TRUE(detail.ends_with(", at byte " + std::to_string(cut.size()) + ".")) << detail;
      continue;
    }
    EXPECT_FALSE(got->Result.Loaded);
    EXPECT_TRUE(got->Result.Lvl.Rooms.empty() && got->Result.TextureTiles.empty());
    if (GetParam() == Game::TR4) continue;  // cut inside a chunk: the chunk does not inflate
    EXPECT_EQ(m.rfind(s.Name + " is damaged: the file ends inside ", 0), 0u) << m;
    EXPECT_TRUE(m.ends_with(", at byte " + std::to_string(cut.size()))) << m;
  }
  if (GetParam() == Game::TR5) {
    EXPECT_GT(soundCuts, 8);
  }
}

// Every count forged to the largest value of its width, or to -1: refused naming the count, its
// value and its byte (a fifth-game count in the sound data opens and reports the same), and
// nothing of more than a few megabytes is ever asked for. A 32-bit count that large is more
// than any level holds; a 16-bit one may only show as a file that ends inside its list, or as
// a room whose stated size its counts disagree with.
TEST_P(Damaged, ForgedCountsAreRefusedNamingTheCount) {
  const Specimen s = Make(GetParam());
  const size_t soundAt = SoundDataAt(s, GetParam());
  const std::string of = GetParam() == Game::TR4 ? " of the inflated level data" : "";
  int counts = 0;
  for (const auto& section : s.Sections) {
    const bool isCount = section.Name.find("Num") != std::string::npos ||
                         section.Name.ends_with(" size") || section.Name.ends_with("sector grid");
    if (!isCount) continue;
    ++counts;
    const bool isUnsigned = section.Name == "Tr1SampleData size";
    const std::string field = section.Name.substr(section.Name.rfind(' ') + 1);
    const std::string at = " at byte " + std::to_string(section.Offset) + of;
    for (uint32_t value : {section.Size == 2 ? 0x7FFFu : 0x7FFFFFFFu, 0xFFFFFFFFu}) {
      const bool negative = value == 0xFFFFFFFFu && !isUnsigned;
      // The fourth game's rooms are not held to their stated size: it sizes nothing.
      if (field == "NumDataWords" && !negative && GetParam() == Game::TR4) continue;
      SCOPED_TRACE(section.Name + " = " + std::to_string(value));
      const Bytes forged = s.Pack(WithCount(s.Data, section, value));
      test::ResetAllocations();
      auto got = test::LoadBytes(forged, s.Name);
      EXPECT_LT(test::LargestAllocation(), size_t{4} << 20);
      ASSERT_EQ(got->Messages.Shown.size(), 1u);
      std::string m = got->Messages.Shown[0];
      if (section.Offset >= soundAt) {
        EXPECT_TRUE(got->Result.Loaded);
        EXPECT_EQ(m, s.Name + "'s sound data is damaged; the level opens without it");
        m = got->Messages.Details[0];
      } else if (m == "BAD Room!") {  // a fifth-game room count past the real rooms
        EXPECT_FALSE(got->Result.Loaded);
        m = got->Messages.Details[0];
        EXPECT_NE(m.find("NumRooms is " + std::to_string(value) + at), std::string::npos) << m;
      } else {
        EXPECT_FALSE(got->Result.Loaded);
        EXPECT_EQ(m.rfind(s.Name + " is damaged: ", 0), 0u) << m;
      }
      const std::string named = CountName(section.Name);
      if (field == "grid") {
        EXPECT_NE(m.find("NumZSectors"), std::string::npos) << m;
      } else if (negative) {
        EXPECT_NE(m.find(named + " is -1" + at + "; a count can't be negative"), std::string::npos)
            << m;
      } else if (field == "NumDataWords") {  // a size, held against the room's own counts
        const std::string room = section.Name.substr(0, section.Name.rfind(' '));
        EXPECT_NE(m.find(room + " states " + std::to_string(value) + " data words" + at +
                         "; its geometry takes "),
                  std::string::npos)
            << m;
      } else if (section.Size == 4 && field != "size") {
        EXPECT_NE(m.find(named + " is " + std::to_string(value) + at + "; the rest of "),
                  std::string::npos)
            << m;
      }
    }
  }
  EXPECT_GT(counts, 20);
}

const char* const kChunkNames[] = {"The 32-bit texture chunk", "The 16-bit texture chunk",
                                   "The third texture chunk"};

// Every compressed chunk stating sizes it does not hold, or with its stream spoiled: a load
// holds at most 64 times the file (8 MB for small ones); damaged texture pages open with one
// report, a damaged level-data chunk refuses the file.
TEST_P(Damaged, CompressedChunksThatLie) {
  const Specimen s = Make(GetParam());
  if (s.Chunks == 0) GTEST_SKIP() << "no compressed chunks";
  const size_t allowed = std::min(size_t{512} << 20, 64 * s.File.size() + (size_t{8} << 20));
  for (int chunk = 0; chunk < s.Chunks; ++chunk)
    for (uint32_t stated : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x10000000u, 0u}) {
      SCOPED_TRACE("chunk " + std::to_string(chunk) + " states " + std::to_string(stated));
      Bytes forged = s.File;
      if (stated != 0)
        std::memcpy(forged.data() + s.ChunkAt[chunk], &stated, 4);
      else  // stated size kept, stream spoiled
        for (size_t i = 10; i < 40; ++i) forged[s.ChunkAt[chunk] + 8 + i] ^= 0x5A;
      test::ResetAllocations();
      auto got = test::LoadBytes(forged, s.Name);
      EXPECT_LE(test::PeakAllocatedSinceReset(), allowed);
      ASSERT_EQ(got->Messages.Shown.size(), 1u);
      const std::string& m = got->Messages.Shown[0];
      if (chunk == 3) {
        EXPECT_FALSE(got->Result.Loaded);
        EXPECT_EQ(m.rfind(s.Name + " is damaged: its level data chunk", 0), 0u) << m;
      } else {
        EXPECT_TRUE(got->Result.Loaded);
        EXPECT_EQ(m,
                  s.Name + "'s texture pages are damaged; they show as far as they could be read");
        const std::string& detail = got->Messages.Details[0];
        EXPECT_NE(detail.find(kChunkNames[chunk]), std::string::npos) << detail;
        // The pages are what the stream held, not what it claimed.
        EXPECT_LE(got->Result.Lvl.NumTextiles, 4);
        EXPECT_LE(got->Result.Lvl.NumMiscTextiles, 3);
      }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryGame, Damaged,
                         ::testing::Values(Game::TR1, Game::TR2, Game::TR3, Game::TR4, Game::TR5),
                         [](const auto& info) {
                           return "TR" + std::to_string(GameNumber(info.param));
                         });

// Classic files are read from disk in parts (the pages straight into their lists): whole, in
// both first-game palette places, or cut, they say and hold what the same bytes do in memory; a
// forged page count sizes nothing; a missing file or a folder is named.
using ClassicOnDisk = test::TempFolderTest;

TEST_F(ClassicOnDisk, SaysWhatTheSameBytesSayInMemory) {
  const std::string path = At("level.tr2");
  for (Game version : {Game::TR1, Game::TR2, Game::TR3}) {
    test::DraftLevel draft = test::SampleDraft(version);
    if (version == Game::TR1) draft.Tr1Palette = Tr1PaletteLayout::AfterSpriteSequences;
    draft.NumTextiles = 2;
    const auto file = test::ComposeClassic(draft);
    const auto& pages = file.Section(version == Game::TR1 ? "Textile8" : "Textile16");
    const size_t whole = file.Bytes.size();
    for (size_t cut :
         {whole, size_t{3}, pages.Offset + 10, pages.Offset + pages.Size + 2, whole - 1}) {
      SCOPED_TRACE("game " + std::to_string(GameNumber(version)) + " cut to " +
                   std::to_string(cut));
      test::WriteBytes(path, file.Truncated(cut));
      auto disk = test::LoadFile(path);
      auto memory = test::LoadBytes(file.Truncated(cut), path);
      EXPECT_EQ(disk->Result.Loaded, cut == whole);
      EXPECT_EQ(disk->Messages.Shown.size(), cut == whole ? 0u : 1u);
      EXPECT_EQ(disk->Messages.Shown, memory->Messages.Shown);
      const Level &a = disk->Result.Lvl, &b = memory->Result.Lvl;
      EXPECT_TRUE(a.Textile8 == b.Textile8 && a.Textile16 == b.Textile16 &&
                  a.FloorData == b.FloorData && a.SoundMap == b.SoundMap &&
                  a.Tr1SampleData == b.Tr1SampleData && a.Palette == b.Palette);
    }
  }
  const auto tr2 = test::ComposeClassic(test::SampleDraft(Game::TR2));
  test::WriteBytes(path, WithCount(tr2.Bytes, tr2.Section("NumTextiles"), 0x7FFFFFFF));
  test::ResetAllocations();
  EXPECT_FALSE(test::LoadFile(path)->Result.Loaded);
  EXPECT_LT(test::LargestAllocation(), size_t{4} << 20);
  for (const auto& bad : {dir_ / "missing.tr2", dir_}) {
    auto got = test::LoadFile(bad);
    EXPECT_FALSE(got->Result.Loaded);
    EXPECT_NE(got->FirstMessage().find(bad.filename().string()), std::string::npos);
  }
}

// A genuine stream of zeros inflates about a thousandfold: it is cut at the load's budget, the
// pages are reported damaged and the level still opens.
TEST(DamagedChunks, StreamsThatInflateAThousandfoldAreCut) {
  test::Tr4Draft draft = test::SampleTr4Draft();
  draft.Pages32.assign(size_t{64} << 20, 0);
  const Bytes bomb = test::ComposeTR4(draft).Bytes;
  test::ResetAllocations();
  auto got = test::LoadBytes(bomb, "BOMB.TR4");
  EXPECT_LE(test::PeakAllocatedSinceReset(), 64 * bomb.size() + (size_t{8} << 20));
  EXPECT_TRUE(got->Result.Loaded);
  ASSERT_EQ(got->Messages.Shown.size(), 1u);
  EXPECT_NE(got->Messages.Shown[0].find("texture pages are damaged"), std::string::npos);
  EXPECT_LT(got->Result.Lvl.Textile32.size() * 4, draft.Pages32.size() / 4);
}

}  // namespace
}  // namespace slab

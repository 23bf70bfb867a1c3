// Encrypted fourth-game levels ("TR4c") and files whose name's game is not their content's.
#include <gtest/gtest.h>

#include <cstring>

#include "level/encryption.h"
#include "level/load_level.h"
#include "tools/compose_tr45.h"
#include "support/expected.h"
#include "support/real_levels.h"

namespace slab {
namespace {

using test::ComposeTR4;
using test::ComposeTR5;
using test::ScrambleLevel;

std::vector<uint8_t> Decrypted(std::vector<uint8_t> bytes) {
  EXPECT_TRUE(DecryptLevel(bytes).has_value());
  return bytes;
}

// Both directions of the scheme on composed files of both games, one with chunks shorter than
// the 99 scrambled bytes (an empty third texture chunk, whose bytes reach into the next
// header): scrambling changes exactly the four blocks and the version byte, and decrypting
// gives every byte back.
TEST(EncryptedLevel, ScramblingAndDecryptingAreEachOthersInverse) {
  test::Tr4Draft shortChunk = test::SampleTr4Draft();
  shortChunk.MiscPages.clear();
  const std::vector<uint8_t> plains[] = {ComposeTR4(test::SampleTr4Draft()).Bytes,
                                         ComposeTR4(shortChunk).Bytes,
                                         ComposeTR5(test::SampleTr5Draft()).Bytes};
  for (const auto& plain : plains) {
    const std::vector<uint8_t> scrambled = ScrambleLevel(plain);
    ASSERT_EQ(scrambled.size(), plain.size());
    EXPECT_EQ(std::string(scrambled.begin(), scrambled.begin() + 4), "TR4c");
    size_t changed = 0;
    for (size_t i = 0; i < plain.size(); ++i) changed += scrambled[i] != plain[i];
    EXPECT_GT(changed, 4 * 60u);
    EXPECT_LE(changed, 1 + 4 * kScrambledBytes);
    EXPECT_EQ(Decrypted(scrambled), plain);
  }
}

// A scrambled level opens as the plain one does, marked encrypted; scrambling the composed
// fifth-game level under a ".tr4" name also reads it as the fifth-game level it is.
TEST(EncryptedLevel, OpensAsThePlainLevelForViewing) {
  const auto plain4 = ComposeTR4(test::SampleTr4Draft()).Bytes;
  auto want = test::LoadBytes(plain4, "a.tr4");
  auto got = test::LoadBytes(ScrambleLevel(plain4), "a.tr4");
  ASSERT_TRUE(got->Result.Loaded) << got->FirstMessage();
  EXPECT_TRUE(got->Messages.Shown.empty()) << got->FirstMessage();
  EXPECT_TRUE(got->Result.Lvl.Encrypted);
  EXPECT_FALSE(want->Result.Lvl.Encrypted);
  EXPECT_EQ(got->GameVersion, Game::TR4);
  EXPECT_EQ(got->Result.Lvl.Version, int32_t(kTR4VersionWord));
  EXPECT_EQ(test::Tr4LevelData(got->Result.Lvl, false).Bytes,
            test::Tr4LevelData(want->Result.Lvl, false).Bytes);
  EXPECT_EQ(got->Result.Lvl.Textile32, want->Result.Lvl.Textile32);
  EXPECT_EQ(got->Result.Note, "");

  auto five = test::LoadBytes(ScrambleLevel(ComposeTR5(test::SampleTr5Draft()).Bytes), "b.tr4");
  ASSERT_TRUE(five->Result.Loaded) << five->FirstMessage();
  EXPECT_TRUE(five->Result.Lvl.Encrypted);
  EXPECT_EQ(five->GameVersion, Game::TR5);
  EXPECT_EQ(five->Result.Lvl.Rooms.size(), 2u);
  EXPECT_EQ(five->Result.Note,
            "b.tr4 holds a fifth-game level under a fourth-game name; it is read as the level it "
            "holds.");
}

// "TR4c" on a file whose chunks are no encrypted level's (a plain level with the odd word,
// or a few bytes) stays an unknown version; a file that decrypts and is then damaged is
// refused for its damage, as a plain one would be.
TEST(EncryptedLevel, OnlyWhatDecryptsIntoALevelIsTakenForOne) {
  auto plain = ComposeTR4(test::SampleTr4Draft()).Bytes;
  auto oddWord = plain;
  oddWord[3] = 'c';
  const std::vector<uint8_t> shortFile = {'T', 'R', '4', 'c', 0, 0};
  for (const auto& bytes : {oddWord, shortFile}) {
    auto got = test::LoadBytes(bytes, "a.tr4");
    EXPECT_FALSE(got->Result.Loaded);
    EXPECT_EQ(got->Messages.Shown, std::vector<std::string>{"Unknown TR version!"});
    EXPECT_EQ(got->Messages.Details,
              std::vector<std::string>{"The file starts with 54 52 34 63 (\"TR4c\"), as an "
                                       "encrypted level does, but its chunks do not decrypt into "
                                       "one."});
  }

  const auto composed = ComposeTR4(test::SampleTr4Draft());
  auto cut = composed.Bytes;
  cut.resize(composed.ChunkAt[3] + 8 + 120);  // inside the level-data chunk's stream
  auto plainCut = test::LoadBytes(cut, "a.tr4");
  auto scrambledCut = test::LoadBytes(ScrambleLevel(cut), "a.tr4");
  EXPECT_FALSE(scrambledCut->Result.Loaded);
  ASSERT_FALSE(plainCut->Messages.Shown.empty());
  EXPECT_EQ(scrambledCut->Messages.Shown, plainCut->Messages.Shown);
}

// The fourth and fifth game share their version word: the extension decides, unless the
// file holds the other game's level, which is then read as such with a note. A file that
// neither reader takes is refused with what the named game's reader says.
TEST(ExtensionAndContent, AFileIsReadAsTheGameItHolds) {
  const auto tr5 = ComposeTR5(test::SampleTr5Draft()).Bytes;
  auto asTr4 = test::LoadBytes(tr5, "x.tr4");
  ASSERT_TRUE(asTr4->Result.Loaded) << asTr4->FirstMessage();
  EXPECT_TRUE(asTr4->Messages.Shown.empty()) << asTr4->FirstMessage();
  EXPECT_EQ(asTr4->GameVersion, Game::TR5);
  EXPECT_EQ(asTr4->Result.Lvl.Cameras.size(), 2u);
  EXPECT_FALSE(asTr4->Result.Lvl.Encrypted);
  EXPECT_EQ(asTr4->Result.Note,
            "x.tr4 holds a fifth-game level under a fourth-game name; it is read as the level it "
            "holds.");

  const auto tr4 = ComposeTR4(test::SampleTr4Draft()).Bytes;
  auto asTrc = test::LoadBytes(tr4, "y.TRC");
  ASSERT_TRUE(asTrc->Result.Loaded) << asTrc->FirstMessage();
  EXPECT_EQ(asTrc->GameVersion, Game::TR4);
  EXPECT_EQ(asTrc->Result.Note,
            "y.TRC holds a fourth-game level under a fifth-game name; it is read as the level it "
            "holds.");
  EXPECT_EQ(test::LoadBytes(tr4, "y.tr4")->Result.Note, "");

  // Damaged as a fifth-game file and no fourth-game one either: the fifth game's refusal.
  auto damaged = tr5;
  const auto room = ComposeTR5(test::SampleTr5Draft()).RoomAt[0];
  std::memcpy(damaged.data() + room, "XELB", 4);
  auto refused = test::LoadBytes(damaged, "z.trc");
  EXPECT_FALSE(refused->Result.Loaded);
  EXPECT_EQ(refused->Messages.Shown, std::vector<std::string>{"BAD Room!"});
}

// The real encrypted level decrypts into the real fifth-game level byte for byte, the scheme
// run the other way gives the encrypted file back, and it opens as that level does.
TEST(EncryptedLevel, TheRealEncryptedLevelIsTheRealFifthGameLevel) {
  SLAB_REQUIRE_REAL_LEVELS();
  const auto dir = test::RealLevelsDir() / "tr5";
  const auto encrypted = test::ReadFile(dir / "chreden__trview__lake-enc.tr4");
  const auto plain = test::ReadFile(dir / "chreden__trview__lake.trc");
  ASSERT_EQ(encrypted.size(), 2061404u);
  EXPECT_EQ(Decrypted(encrypted), plain);
  EXPECT_EQ(ScrambleLevel(plain), encrypted);

  auto got = test::LoadFile(dir / "chreden__trview__lake-enc.tr4");
  ASSERT_TRUE(got->Result.Loaded) << got->FirstMessage();
  EXPECT_TRUE(got->Messages.Shown.empty()) << got->FirstMessage();
  EXPECT_TRUE(got->Result.Lvl.Encrypted);
  EXPECT_EQ(got->GameVersion, Game::TR5);
  EXPECT_FALSE(got->Result.Note.empty());
  // As the plain level reads against the independent reading of it, every count the same.
  const auto* entry = test::ExpectedEntry(dir / "chreden__trview__lake.trc");
  ASSERT_NE(entry, nullptr);
  auto want = test::LoadFile(dir / "chreden__trview__lake.trc");
  EXPECT_EQ(test::CompareWithExpected(got->Result.Lvl, Game::TR5, *entry),
            test::CompareWithExpected(want->Result.Lvl, Game::TR5, *entry));
  EXPECT_EQ(got->Result.Lvl.Items.size(), 104u);
}

}  // namespace
}  // namespace slab

// Every check over every real level: the official levels played for decades, so what they
// carry is harmless, and a check that called it an error would be wrong.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include <set>

#include "check/check.h"
#include "check_fixture.h"

namespace slab {
namespace {

class CheckRealLevel : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(CheckRealLevel, HasNoErrorAndSaysWhereAndWhatOfEveryFinding) {
  SLAB_REQUIRE_REAL_LEVELS();
  const auto loaded = test::LoadFile(GetParam());
  if (!loaded->Result.Loaded) GTEST_SKIP() << "refused: " << loaded->FirstMessage();
  const std::vector<Finding> findings = CheckLevel(loaded->Result.Lvl, loaded->GameVersion);
  const SeverityCounts counts = CountSeverities(findings);
  EXPECT_EQ(counts.Errors, 0) << test::Listed(findings);
  std::set<std::string_view> ids;
  for (const CheckInfo& info : CheckList()) ids.insert(info.Id);
  for (const Finding& f : findings) {
    EXPECT_TRUE(ids.count(f.Check)) << f.Check;
    EXPECT_TRUE(f.Message.ends_with(".")) << f.Message;
    EXPECT_GE(f.Message.size(), 20u) << f.Message;
  }
  // The same level gives the same findings (nothing depends on what ran before).
  EXPECT_EQ(CheckLevel(loaded->Result.Lvl, loaded->GameVersion).size(), findings.size());
  RecordProperty("counts", CountsText(counts));
}

INSTANTIATE_TEST_SUITE_P(AllGames, CheckRealLevel,
                         test::RealLevelParams({"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"}),
                         test::RealLevelName);

}  // namespace
}  // namespace slab

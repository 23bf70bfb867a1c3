#include "app/command_line.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

TEST(CommandLine, SwitchesTakeTheRestAfterOneSpaceAsTheFile) {
  StartCommand c = ParseCommandLine("/convert2 C:\\x\\level.tr4");
  EXPECT_EQ(c.Mode, StartMode::Convert2);
  EXPECT_EQ(c.File, "C:\\x\\level.tr4");
  EXPECT_EQ(ParseCommandLine("/convert3 a b.tr4").File, "a b.tr4");
  EXPECT_EQ(ParseCommandLine("/convert3 a b.tr4").Mode, StartMode::Convert3);
  EXPECT_EQ(ParseCommandLine("/adddemo x.tr2").Mode, StartMode::AddDemo);
  EXPECT_EQ(ParseCommandLine("/view  two.tr2").File, " two.tr2");
  EXPECT_EQ(ParseCommandLine("/view").File, "");
  // The switch is compared on the first characters only, as the original did.
  EXPECT_EQ(ParseCommandLine("/viewer.tr2").Mode, StartMode::View);
}

TEST(CommandLine, AnythingElseIsTheNormalStartWithNothingOpened) {
  for (const char* line : {"", "/VIEW x.tr2", "/Convert2 x.tr4", "level.tr2", " /view x"}) {
    const StartCommand c = ParseCommandLine(line);
    EXPECT_EQ(c.Mode, StartMode::Normal) << line;
    EXPECT_TRUE(c.OpenFile.empty()) << line;
  }
}

TEST(CommandLine, OpenSwitchOpensTheFileAtTheNormalStart) {
  StartCommand c = ParseCommandLine("--open /tmp/my level.tr2");
  EXPECT_EQ(c.Mode, StartMode::Normal);
  EXPECT_EQ(c.OpenFile, "/tmp/my level.tr2");
  EXPECT_TRUE(ParseCommandLine("--opener x").OpenFile.empty());
}

TEST(CommandLine, ArgumentsAreJoinedBySingleSpaces) {
  const char* argv[] = {"Slabwright2", "/convert2", "my", "level.tr4"};
  EXPECT_EQ(JoinArguments(4, argv), "/convert2 my level.tr4");
  EXPECT_EQ(JoinArguments(1, argv), "");
}

}  // namespace
}  // namespace slab

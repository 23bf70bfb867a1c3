#include "app/command_line.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

TEST(CommandLine, SwitchesTakeTheRestAfterOneSpaceAsTheFile) {
  const struct {
    const char* Line;
    StartMode Mode;
    const char* File;
  } cases[] = {
      {"/convert2 C:\\x\\level.tr4", StartMode::Convert2, "C:\\x\\level.tr4"},
      {"/convert3 a b.tr4", StartMode::Convert3, "a b.tr4"},
      {"/adddemo x.tr2", StartMode::AddDemo, "x.tr2"},
      {"/view  two.tr2", StartMode::View, " two.tr2"},
      {"/view", StartMode::View, ""},
      {"/viewer.tr2", StartMode::View, "r.tr2"},  // the switch is its first letters only
  };
  for (const auto& c : cases) {
    const StartCommand command = ParseCommandLine(c.Line);
    EXPECT_EQ(command.Mode, c.Mode) << c.Line;
    EXPECT_EQ(command.File, c.File) << c.Line;
  }
}

TEST(CommandLine, AnythingElseIsTheNormalStartWithNothingOpenedButForOpen) {
  for (const char* line :
       {"", "/VIEW x.tr2", "/Convert2 x.tr4", "level.tr2", " /view x", "--opener x"}) {
    const StartCommand c = ParseCommandLine(line);
    EXPECT_EQ(c.Mode, StartMode::Normal) << line;
    EXPECT_TRUE(c.OpenFile.empty()) << line;
  }
  const StartCommand open = ParseCommandLine("--open /tmp/my level.tr2");
  EXPECT_EQ(open.Mode, StartMode::Normal);
  EXPECT_EQ(open.OpenFile, "/tmp/my level.tr2");
}

}  // namespace
}  // namespace slab

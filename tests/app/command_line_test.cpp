#include "app/command_line.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

// A switch takes the rest after one space as its file; a bare name opens in the main window.
TEST(CommandLine, SwitchesTakeTheRestAfterOneSpaceAndABareNameOpens) {
  const struct {
    const char* Line;
    StartMode Mode;
    const char* File;
    const char* Open;
  } cases[] = {
      {"/convert2 C:\\x\\level.tr4", StartMode::Convert2, "C:\\x\\level.tr4", ""},
      {"/convert3 a b.tr4", StartMode::Convert3, "a b.tr4", ""},
      {"/adddemo x.tr2", StartMode::AddDemo, "x.tr2", ""},
      {"/view  two.tr2", StartMode::View, " two.tr2", ""},
      {"/view", StartMode::View, "", ""},
      {"/viewer.tr2", StartMode::View, "r.tr2", ""},  // the switch is its first letters only
      {"--open /tmp/my level.tr2", StartMode::Normal, "", "/tmp/my level.tr2"},
      {"--opener x", StartMode::Normal, "", ""},
      {"/VIEW x.tr2", StartMode::Normal, "", "/VIEW x.tr2"},  // no switch: a file's name
      {" /view x", StartMode::Normal, "", ""},
      {"my level.tr2", StartMode::Normal, "", "my level.tr2"},
      {"-x level.tr2", StartMode::Normal, "", ""},
      {"", StartMode::Normal, "", ""},
  };
  for (const auto& c : cases) {
    const StartCommand command = ParseCommandLine(c.Line);
    EXPECT_EQ(command.Mode, c.Mode) << c.Line;
    EXPECT_EQ(command.File, c.File) << c.Line;
    EXPECT_EQ(command.OpenFile, c.Open) << c.Line;
  }
}

}  // namespace
}  // namespace slab

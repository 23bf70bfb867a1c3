// The desktop program has no --help: its manual page is written by hand, and checked here
// against the parser so that the two cannot drift apart.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace slab {
namespace {

// The switches named by the ".B" and ".BI" lines of the page's SWITCHES section, "\-" read as
// "-". Read by hand: GCC's std::regex trips its own uninitialised warnings.
std::vector<std::string> DocumentedSwitches() {
  std::ifstream in(SLAB_MAN_PAGE);
  std::vector<std::string> switches;
  bool inSection = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(".SH")) inSection = line == ".SH SWITCHES";
    std::istringstream words(line);
    std::string macro, name;
    words >> macro >> name;
    if (!inSection || (macro != ".B" && macro != ".BI")) continue;
    for (size_t at; (at = name.find("\\-")) != std::string::npos;) name.erase(at, 1);
    if (name.starts_with("-") || name.starts_with("/")) switches.push_back(name);
  }
  return switches;
}

TEST(DesktopProgramManPage, DescribesEverySwitchTheParserKnowsAndNoOther) {
  const std::vector<std::string> switches = DocumentedSwitches();
  ASSERT_FALSE(switches.empty()) << "no switches found in " << SLAB_MAN_PAGE;
  std::set<StartMode> modes;
  bool open = false;
  for (const std::string& name : switches) {
    const StartCommand command = ParseCommandLine(name + " level.tr4");
    EXPECT_TRUE(command.File == "level.tr4" || command.OpenFile == "level.tr4")
        << name << " is documented but not a switch";
    modes.insert(command.Mode);
    open = open || !command.OpenFile.empty();
  }
  EXPECT_TRUE(open) << "--open is not documented";
  for (StartMode mode :
       {StartMode::AddDemo, StartMode::Convert2, StartMode::Convert3, StartMode::View})
    EXPECT_TRUE(modes.count(mode)) << "mode " << static_cast<int>(mode) << " is not documented";
}

}  // namespace
}  // namespace slab

// The desktop program has no --help: its manual page is written by hand, and checked here
// against the parser so that the two cannot drift apart.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "app/command_line.h"

namespace slab {
namespace {

// The switches the page's SWITCHES section describes (".BI /view ..." lines), unescaped.
std::vector<std::string> DocumentedSwitches() {
  std::ifstream in(SLAB_MAN_PAGE);
  std::vector<std::string> switches;
  bool inSection = false;
  const std::regex item(R"(^\.BI? +((?:\\-|-|/)[^ "]+))");
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(".SH")) inSection = line == ".SH SWITCHES";
    std::smatch match;
    if (inSection && std::regex_search(line, match, item))
      switches.push_back(std::regex_replace(match[1].str(), std::regex(R"(\\-)"), "-"));
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
    const bool known = command.Mode != StartMode::Normal || command.OpenFile == "level.tr4";
    EXPECT_TRUE(known) << name << " is documented but not a switch";
    EXPECT_TRUE(command.File == "level.tr4" || command.OpenFile == "level.tr4") << name;
    if (command.Mode != StartMode::Normal) modes.insert(command.Mode);
    open = open || !command.OpenFile.empty();
  }
  EXPECT_TRUE(open) << "--open is not documented";
  for (StartMode mode :
       {StartMode::AddDemo, StartMode::Convert2, StartMode::Convert3, StartMode::View})
    EXPECT_TRUE(modes.count(mode))
        << "a switch of mode " << static_cast<int>(mode) << " is not documented";
}

}  // namespace
}  // namespace slab

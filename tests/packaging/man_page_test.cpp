// The desktop program has no --help: its manual page is written by hand, and checked here
// against the parser so that the two cannot drift apart.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace slab {
namespace {

// The switch a ".B" or ".BI" line of the page names ("/view", "\-\-open"), unescaped; empty
// for any other line. Read by hand: GCC's std::regex trips its own uninitialised warnings.
std::string SwitchOf(const std::string& line) {
  size_t at = 0;
  if (line.starts_with(".BI "))
    at = 4;
  else if (line.starts_with(".B "))
    at = 3;
  else
    return {};
  while (at < line.size() && line[at] == ' ') ++at;
  const size_t end = line.find_first_of(" \"", at);
  std::string word = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
  std::string name;
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '\\' && i + 1 < word.size() && word[i + 1] == '-') continue;  // "\-" is "-"
    name += word[i];
  }
  return name.starts_with("-") || name.starts_with("/") ? name : std::string();
}

// The switches the page's SWITCHES section describes.
std::vector<std::string> DocumentedSwitches() {
  std::ifstream in(SLAB_MAN_PAGE);
  std::vector<std::string> switches;
  bool inSection = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(".SH")) inSection = line == ".SH SWITCHES";
    if (!inSection) continue;
    if (const std::string name = SwitchOf(line); !name.empty()) switches.push_back(name);
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

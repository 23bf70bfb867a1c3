#include "app/command_line.h"

namespace slab {
namespace {

// The file after a switch of `length` characters: what follows the one separator.
std::string FileAfter(std::string_view commandLine, size_t length) {
  if (commandLine.size() <= length + 1) return {};
  return std::string(commandLine.substr(length + 1));
}

}  // namespace

StartCommand ParseCommandLine(std::string_view commandLine) {
  struct Switch {
    std::string_view Text;
    StartMode Mode;
  };
  static constexpr Switch kSwitches[] = {{"/adddemo", StartMode::AddDemo},
                                         {"/convert2", StartMode::Convert2},
                                         {"/convert3", StartMode::Convert3},
                                         {"/view", StartMode::View}};
  for (const Switch& s : kSwitches) {
    if (commandLine.starts_with(s.Text))
      return StartCommand{s.Mode, FileAfter(commandLine, s.Text.size()), {}};
  }
  StartCommand command;
  constexpr std::string_view kOpen = "--open";
  if (commandLine.starts_with(kOpen) &&
      (commandLine.size() == kOpen.size() || commandLine[kOpen.size()] == ' '))
    command.OpenFile = FileAfter(commandLine, kOpen.size());
  // A bare file name is what a shell's "open with" and a user's first try pass: it opens.
  else if (!commandLine.empty() && commandLine.front() != '-' && commandLine.front() != ' ')
    command.OpenFile = std::string(commandLine);
  return command;
}

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

}  // namespace slab

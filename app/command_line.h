// The command line as the program reads it: one string, the switch at its start decides the
// job, and the file is everything after the switch and one space.
#pragma once

#include <string>
#include <string_view>

namespace slab {

enum class StartMode { Normal, AddDemo, Convert2, Convert3, View };

struct StartCommand {
  StartMode Mode = StartMode::Normal;
  std::string File;      // the job's file
  std::string OpenFile;  // "--open FILE": opened once the main window is up
};

// The four switches compare exactly and case-sensitively ("/VIEW" is no switch). "--open"
// is not one of them: the normal start follows, with the file opened. Anything else,
// including a bare file name, is the normal start with nothing opened.
StartCommand ParseCommandLine(std::string_view commandLine);

// The arguments after the program's name joined by single spaces: the one string the
// switches are read from.
std::string JoinArguments(int argc, const char* const* argv);

// Exit status of the command-line jobs.
inline constexpr int kJobSucceeded = 0;
inline constexpr int kJobFailed = 1;
// "/view" of a file that was refused: no window, as the command-line tool ends on such a file.
inline constexpr int kFileRefused = 2;

}  // namespace slab

// The program's start: the registry and desktop steps, then either one command-line job or
// the main window with its frame loop.
#pragma once

#include <string>

#include "app/command_line.h"
#include "platform/messages.h"

namespace slab {

// Runs "/adddemo", "/convert2" or "/convert3" (the normal start and "/view" are no jobs).
// Returns the process's exit status.
int RunJob(const StartCommand& command, const std::string& programFolder, MessageSink& messages);

// The whole program; returns the exit status.
int RunProgram(int argc, char** argv);

}  // namespace slab

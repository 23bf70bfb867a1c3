// The command-line jobs that read a level and write it again without a window.
#pragma once

#include <string>

#include "level/messages.h"
#include "write/save_commands.h"

namespace slab {

// "/adddemo FILE": reads the level and writes it back to the same file, so a level whose demo
// data was put in place by another tool is rewritten in order. A refused file is left as it
// is. Returns true when the file was rewritten.
bool AddDemoJob(const std::string& path, MessageSink& messages, const std::string& programFolder,
                ProcessRunner& runner);

}  // namespace slab

// The command-line jobs that read a level and write it again without a window.
#pragma once

#include <string>

#include "level/game.h"
#include "platform/messages.h"
#include "write/save_commands.h"

namespace slab {

// "/adddemo FILE": reads the level and writes it back to the same file, so a level whose demo
// data was put in place by another tool is rewritten in order. A refused file is left as it
// is, as is a read-only one; before a file with other names (hard links) is rewritten, a note
// says that those keep the old content. Returns true when the file was rewritten.
bool AddDemoJob(const std::string& path, MessageSink& messages, const std::string& programFolder,
                ProcessRunner& runner);

// Where "/convert2 FILE" and "/convert3 FILE" write: the input name with its last three
// characters replaced by "tr2" (third-game levels use that extension too).
std::string ConvertedFileName(const std::string& path);

// Converts the fourth-game level at inPath for targetVersion (Game::TR2 or Game::TR3) with the
// sprite wad at wadPath and writes it as outPath. The wad is read first; an unreadable wad, a file
// that is no fourth-game level or a damaged one shows one message and writes nothing, so a
// file already at outPath stays as it is. Returns true when outPath was written.
bool ConvertLevelFile(const std::string& inPath, const std::string& outPath, Game targetVersion,
                      const std::string& wadPath, MessageSink& messages);

// "/convert2 FILE" (targetVersion Game::TR2) and "/convert3 FILE" (Game::TR3): the wad is the
// "TR3.swd" in programFolder, the output ConvertedFileName(path).
bool ConvertJob(const std::string& path, Game targetVersion, const std::string& programFolder,
                MessageSink& messages);

}  // namespace slab

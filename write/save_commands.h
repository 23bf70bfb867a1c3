// File > Save and File > Save As, and the level writer they share with the command-line jobs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "level/document.h"
#include "platform/file_dialog.h"
#include "platform/messages.h"
#include "platform/process_runner.h"
#include "write/save_result.h"

namespace slab {

inline constexpr const char* kSaveFilter =
    "Tomb Raider levels(*.tr2;*.tr4;*.trc)|*.tr2;*.tr4;*.trc";
// A first-game level is saved as one: Save As lists the first game's files too.
inline constexpr const char* kSaveFilterFirstGame =
    "Tomb Raider levels(*.phd;*.tub;*.tr2;*.tr4;*.trc)|*.phd;*.tub;*.tr2;*.tr4;*.trc";

// Writes level as path in the layout of gameVersion. Fourth-game levels are written as the
// intermediate file and finished by the finisher, run in the file's folder with the bare
// title. A failure's reason is a message naming the file; on failure an existing file at
// path is left as it was.
SaveResult WriteLevel(const std::string& path, const Level& level, Game gameVersion,
                      const std::string& title, const std::string& programFolder,
                      ProcessRunner& runner);

// Why the open level cannot be saved under any name (empty when it can): an encrypted level
// opens for viewing only, and the fifth game's levels are read and edited in memory only.
std::string LevelSaveRefusal(const Document& document);

// File > Save: writes the open level to FilePath. Shows "Project saved" only when the whole
// save succeeded, and clears the modified mark then. Returns true on success. A read-only file
// is not saved over (the message names it and points to Save As); for a file with other names
// (hard links) the user is asked first, since those keep the old content.
bool SaveCommand(Document& document, MessageSink& messages, const std::string& programFolder,
                 ProcessRunner& runner);

// File > Save As: asks for a name, then saves there under Save's rules. A cancelled dialog
// changes nothing. A name without an extension gets the level's own (".tr2" for a second- or
// third-game level, ".phd" first, ".tr4" fourth), and the user is asked before that name
// replaces a file.
bool SaveAsCommand(Document& document, FileDialog& dialog, MessageSink& messages,
                   const std::string& programFolder, ProcessRunner& runner);

}  // namespace slab

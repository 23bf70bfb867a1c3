// File > Save and File > Save As, and the level writer they share with the command-line jobs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "level/document.h"
#include "level/messages.h"
#include "write/save_result.h"

namespace slab {

inline constexpr const char* kSaveFilter =
    "Tomb Raider levels(*.tr2;*.tr4;*.trc)|*.tr2;*.tr4;*.trc";

// The file-dialog seam: the desktop program shows a dialog, tests answer as told.
struct FileChoice {
  std::string FileName;   // full path
  std::string FileTitle;  // bare name
};
class FileDialog {
 public:
  virtual ~FileDialog() = default;
  // filter in the "Caption|*.a;*.b" form; empty result when the user cancelled.
  virtual std::optional<FileChoice> ShowOpen(const std::string& filter) = 0;
  virtual std::optional<FileChoice> ShowSave(const std::string& filter) = 0;
};

// The seam for starting the finisher and waiting for it: returns its exit status, or a
// negative value when it could not be started.
class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  virtual int Run(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingFolder) = 0;
};

// Starts programs with posix_spawn (CreateProcess on Windows) and waits for them.
class SystemProcessRunner : public ProcessRunner {
 public:
  int Run(const std::string& program, const std::vector<std::string>& arguments,
          const std::string& workingFolder) override;
};

// Where the finisher lives: beside the running program, or in the installed finisher folder
// relative to it (shell/data_paths.h); the place beside the program when it is in neither.
std::string FinisherPath(const std::string& programFolder);

// Writes level as path in the layout of gameVersion. Fourth-game levels are written as the
// intermediate file and finished by the finisher, run in the file's folder with the bare
// title. A failure's reason is a message naming the file; on failure an existing file at
// path is left as it was.
SaveResult WriteLevel(const std::string& path, const Level& level, Game gameVersion,
                      const std::string& title, const std::string& programFolder,
                      ProcessRunner& runner);

// File > Save: writes the open level to FilePath. Shows "Project saved" only when the whole
// save succeeded, and clears the modified mark then. Returns true on success.
bool SaveCommand(Document& document, MessageSink& messages, const std::string& programFolder,
                 ProcessRunner& runner);

// File > Save As: asks for a name, then saves there. A cancelled dialog changes nothing.
bool SaveAsCommand(Document& document, FileDialog& dialog, MessageSink& messages,
                   const std::string& programFolder, ProcessRunner& runner);

}  // namespace slab

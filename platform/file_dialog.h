// The file-dialog seam: the desktop program shows a dialog, tests answer as told.
#pragma once

#include <optional>
#include <string>

namespace slab {

struct FileChoice {
  std::string FileName;   // full path
  std::string FileTitle;  // bare name
};
// What a dialog is asked to show.
struct FileRequest {
  std::string Filter;  // "Caption|*.a;*.b"
  std::string Title;   // empty: the toolkit's own ("Open", "Save As")
  // The file the dialog starts at: its folder is shown and, when saving, its name proposed.
  std::string Start;
};

class FileDialog {
 public:
  virtual ~FileDialog() = default;
  // Empty result when the user cancelled.
  virtual std::optional<FileChoice> ShowOpen(const FileRequest& request) = 0;
  virtual std::optional<FileChoice> ShowSave(const FileRequest& request) = 0;
};

// Cancels every request: for a window with nobody to answer it (the screenshot tool,
// benchmarks).
class NoFileDialog : public FileDialog {
 public:
  std::optional<FileChoice> ShowOpen(const FileRequest&) override { return std::nullopt; }
  std::optional<FileChoice> ShowSave(const FileRequest&) override { return std::nullopt; }
};

}  // namespace slab

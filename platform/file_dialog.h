// The file-dialog seam: the desktop program shows a dialog, tests answer as told.
#pragma once

#include <optional>
#include <string>

namespace slab {

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

}  // namespace slab

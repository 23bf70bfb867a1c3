#include "app/file_messages.h"

#include <filesystem>

namespace slab {

FileMessages::FileMessages(MessageSink& messages, const std::string& path)
    : messages_(messages),
      name_(std::filesystem::path(path).filename().string()),
      fileLine_("File: " + path) {}

bool FileMessages::NamesFile(std::string_view text) const {
  // With no file given there is nothing to name.
  return name_.empty() || text.find(name_) != std::string_view::npos;
}

void FileMessages::Show(std::string_view text, std::string_view title) {
  // A box with a title of its own is a question of its own, not a word about the file.
  if (NamesFile(text) || !title.empty()) return messages_.Show(text, title);
  messages_.ShowDetailed(text, fileLine_);
}

void FileMessages::ShowDetailed(std::string_view text, std::string_view detail) {
  if (NamesFile(text) || NamesFile(detail)) return messages_.ShowDetailed(text, detail);
  messages_.ShowDetailed(text, detail.empty() ? fileLine_ : fileLine_ + "\n" + std::string(detail));
}

}  // namespace slab

#include "app/level_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <system_error>

namespace slab {
namespace fs = std::filesystem;
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// <0, 0, >0 like strcmp, in reading order.
int CompareNatural(std::string_view l, std::string_view r) {
  size_t i = 0, j = 0;
  while (i < l.size() && j < r.size()) {
    if (IsDigit(l[i]) && IsDigit(r[j])) {
      // Compare the runs by value: skip leading zeros, then the longer run is larger.
      size_t i0 = i, j0 = j;
      while (i0 < l.size() && l[i0] == '0') ++i0;
      while (j0 < r.size() && r[j0] == '0') ++j0;
      size_t i1 = i0, j1 = j0;
      while (i1 < l.size() && IsDigit(l[i1])) ++i1;
      while (j1 < r.size() && IsDigit(r[j1])) ++j1;
      if (i1 - i0 != j1 - j0) return i1 - i0 < j1 - j0 ? -1 : 1;
      if (const int c = l.substr(i0, i1 - i0).compare(r.substr(j0, j1 - j0)); c != 0) return c;
      i = i1, j = j1;
      continue;
    }
    const char a = Lower(l[i]), b = Lower(r[j]);
    if (a != b) return a < b ? -1 : 1;
    ++i, ++j;
  }
  if (i < l.size()) return 1;
  if (j < r.size()) return -1;
  return 0;
}

}  // namespace

bool IsLevelFileName(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), Lower);
  static constexpr std::array<std::string_view, 5> kExtensions = {".phd", ".tub", ".tr2", ".tr4",
                                                                  ".trc"};
  return std::find(kExtensions.begin(), kExtensions.end(), ext) != kExtensions.end();
}

bool LevelNameLess(const std::string& left, const std::string& right) {
  const int c = CompareNatural(left, right);
  return c != 0 ? c < 0 : left < right;
}

std::vector<fs::path> LevelFilesBeyond(const fs::path& current, int step) {
  if (step == 0) return {};
  const fs::path folder = current.has_parent_path() ? current.parent_path() : fs::path(".");
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return {};
  std::vector<std::string> names;
  const std::string self = current.filename().string();
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) return {};
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (name != self && IsLevelFileName(name) && it->is_regular_file(typeError))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end(), LevelNameLess);
  // Where current sits (or would sit) among the others.
  const auto at = std::lower_bound(names.begin(), names.end(), self, LevelNameLess);
  std::vector<fs::path> beyond;
  if (step > 0)
    for (auto name = at; name != names.end(); ++name) beyond.push_back(folder / *name);
  else
    for (auto name = at; name != names.begin();) beyond.push_back(folder / *--name);
  return beyond;
}

std::optional<fs::path> AdjacentLevelFile(const fs::path& current, int step) {
  const std::vector<fs::path> beyond = LevelFilesBeyond(current, step);
  const size_t distance = static_cast<size_t>(step > 0 ? step : -step);
  if (distance == 0 || distance > beyond.size()) return std::nullopt;
  return beyond[distance - 1];
}

std::string NormalisedPath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) absolute = path;
  return absolute.lexically_normal().string();
}

RecentFiles::RecentFiles(const std::vector<std::string>& paths) {
  // Oldest last: adding from the back keeps the stored order.
  for (auto it = paths.rbegin(); it != paths.rend(); ++it)
    if (!it->empty()) Add(*it);
}

void RecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  const std::string normal = NormalisedPath(path);
  Remove(normal);
  paths_.insert(paths_.begin(), normal);
  if (paths_.size() > kMaxRecentFiles) paths_.resize(kMaxRecentFiles);
}

void RecentFiles::Remove(const std::string& path) {
  const std::string normal = NormalisedPath(path);
  std::erase(paths_, normal);
}

bool RecentFiles::DropMissing() {
  const size_t before = paths_.size();
  std::erase_if(paths_, [](const std::string& path) {
    std::error_code error;
    return !fs::is_regular_file(path, error);
  });
  return paths_.size() != before;
}

}  // namespace slab

// Moving between level files: the previous or next level of the same folder, and the list of
// recently opened files. Toolkit-free; the File menu keeps the list between runs.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace slab {

// .phd, .tub, .tr2, .tr4 and .trc, in any case.
bool IsLevelFileName(const std::filesystem::path& path);

// Orders file names as a person reads them: case-insensitive, runs of digits by their value
// ("level2" before "level10"); names equal that way fall back to a plain comparison.
bool LevelNameLess(const std::string& left, const std::string& right);

// The level file of current's folder that comes `step` places after current (negative:
// before) in LevelNameLess order. Stops at the ends rather than wrapping, so holding the key
// never silently starts the folder over: nothing past the first or the last level, nothing
// when the folder cannot be read. current need not exist any more (it may have been renamed
// or deleted): its neighbours are found by its name.
std::optional<std::filesystem::path> AdjacentLevelFile(const std::filesystem::path& current,
                                                       int step);
// Every level file of current's folder on the side of current that step points to (step > 0:
// after it, else before it), nearest first: the files to try in turn when the neighbour
// cannot be read.
std::vector<std::filesystem::path> LevelFilesBeyond(const std::filesystem::path& current, int step);

// The recently opened files, most recent first, at most kMaxRecentFiles, no file twice.
inline constexpr size_t kMaxRecentFiles = 10;

class RecentFiles {
 public:
  RecentFiles() = default;
  // A stored list: kept in order, duplicates and blanks dropped, cut to the maximum.
  explicit RecentFiles(const std::vector<std::string>& paths);

  // Puts path first (moving it if it was already listed).
  void Add(const std::string& path);
  void Remove(const std::string& path);
  // Drops the files that no longer exist; returns whether the list changed.
  bool DropMissing();
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

// One spelling per file: absolute and without "." or ".." parts, so that opening the same
// file through another relative path does not list it twice.
std::string NormalisedPath(const std::string& path);

}  // namespace slab

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "write/write_level.h"

namespace slab {

namespace {

std::string LastError() { return std::strerror(errno); }

// Writes bytes to a new file at path and waits until they are on the disk.
SaveResult WriteDurably(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
#ifdef _WIN32
  std::FILE* file = _wfopen(path.c_str(), L"wb");
#else
  std::FILE* file = std::fopen(path.c_str(), "wb");
#endif
  if (file == nullptr) return SaveResult::Failed("it cannot be written (" + LastError() + ")");
  bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
#ifdef _WIN32
  written = written && _commit(_fileno(file)) == 0;
#else
  written = written && ::fsync(fileno(file)) == 0;
#endif
  const std::string reason = written ? std::string() : LastError();
  written = std::fclose(file) == 0 && written;
  if (!written)
    return SaveResult::Failed("writing failed (" + (reason.empty() ? LastError() : reason) + ")");
  return SaveResult::Done();
}

// Puts the folder's new entry on the disk too, so the rename survives a power cut. Windows
// keeps the entry with the file; elsewhere a folder that cannot be synced (some network file
// systems) does not make the save fail, as the file itself is complete.
void SyncFolder([[maybe_unused]] const std::filesystem::path& folder) {
#ifndef _WIN32
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
#endif
}

}  // namespace

SaveResult SaveFileAtomically(const std::filesystem::path& path,
                              const std::vector<uint8_t>& bytes) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (path.empty()) return SaveResult::Failed("no file name was given");
  if (fs::is_directory(path, ec)) return SaveResult::Failed("it is a folder");
  fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec))
    return SaveResult::Failed("the folder " + folder.string() + " does not exist");

  std::random_device random;
  fs::path temp = folder / ("." + path.filename().string() + "." +
                            std::to_string(random() % 1000000) + ".part");
  SaveResult written = WriteDurably(temp, bytes);
  if (!written.Ok()) {
    fs::remove(temp, ec);
    return written;
  }
  // Keep the permissions of the file being replaced.
  if (fs::exists(path, ec)) fs::permissions(temp, fs::status(path, ec).permissions(), ec);
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return SaveResult::Failed("it cannot be replaced (" + ec.message() + ")");
  }
  SyncFolder(folder);
  return SaveResult::Done();
}

}  // namespace slab

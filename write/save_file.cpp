#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include "write/write_level.h"

namespace slab {

std::string SaveFileAtomically(const std::filesystem::path& path,
                               const std::vector<uint8_t>& bytes) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (path.empty()) return "no file name was given";
  if (fs::is_directory(path, ec)) return "it is a folder";
  fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) return "the folder " + folder.string() + " does not exist";

  std::random_device random;
  fs::path temp = folder / ("." + path.filename().string() + "." +
                            std::to_string(random() % 1000000) + ".part");
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      int err = errno;
      return std::string("it cannot be written (") + std::strerror(err) + ")";
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      int err = errno;
      out.close();
      fs::remove(temp, ec);
      return std::string("writing failed (") + std::strerror(err) + ")";
    }
  }
  // Keep the permissions of the file being replaced.
  if (fs::exists(path, ec)) fs::permissions(temp, fs::status(path, ec).permissions(), ec);
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return "it cannot be replaced (" + ec.message() + ")";
  }
  return {};
}

}  // namespace slab

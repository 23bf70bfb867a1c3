#include "write/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace slab {

namespace fs = std::filesystem;

namespace {

std::string ErrorText(int error) { return std::strerror(error); }

fs::path FolderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Linux gives up after 40 links in a row; a longer chain is a loop.
constexpr int kMaxLinkHops = 40;

fs::path FollowLinks(const fs::path& path, std::string& problem) {
  fs::path at = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(at, ec))) return at;
    const fs::path next = fs::read_symlink(at, ec);
    if (ec) {
      problem = "its symbolic link cannot be read (" + ec.message() + ")";
      return at;
    }
    at = next.is_absolute() ? next : FolderOf(at) / next;
  }
  problem = "its symbolic links lead round in a circle";
  return at;
}

// Whether the user may write the file, as the system decides (for the effective user, and a
// read-only mount counts). Other failures of the question leave the answer to the save.
bool MayWrite([[maybe_unused]] const fs::path& file) {
#ifdef _WIN32
  return true;  // the read-only attribute shows in the mode bits
#else
  if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0) return true;
  return errno != EACCES && errno != EPERM && errno != EROFS;
#endif
}

#ifdef _WIN32
int OpenNew(const fs::path& path, int mode) {
  return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                  (mode & 0200) != 0 ? _S_IREAD | _S_IWRITE : _S_IREAD);
}
long WriteSome(int fd, const uint8_t* data, size_t size) {
  return ::_write(fd, data, static_cast<unsigned>(std::min<size_t>(size, 1u << 30)));
}
int SyncFile(int fd) { return ::_commit(fd); }
int CloseFile(int fd) { return ::_close(fd); }
#else
int OpenNew(const fs::path& path, int mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
}
long WriteSome(int fd, const uint8_t* data, size_t size) { return ::write(fd, data, size); }
int SyncFile(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
#endif

// A file replacing another is private until it takes that file's mode; a new one gets the
// mode new files get (the umask's).
int CreationMode(bool replacesExisting) { return replacesExisting ? 0600 : 0666; }

// Writes bytes to a new file at path and waits until they are on the disk. Never opens
// anything that is already there, so a name someone else put in the folder (a link to
// elsewhere) is never written through. `existed` tells that the name was taken.
SaveResult WriteNew(const fs::path& path, const std::vector<uint8_t>& bytes, int mode,
                    bool* existed = nullptr) {
  const int fd = OpenNew(path, mode);
  if (fd < 0) {
    const int error = errno;
    if (existed != nullptr) *existed = error == EEXIST;
    if (error == EACCES || error == EPERM || error == EROFS)
      return SaveResult::Failed("no file can be made in its folder " + FolderOf(path).string() +
                                " (" + ErrorText(error) + ")");
    return SaveResult::Failed("it cannot be written (" + ErrorText(error) + ")");
  }
  int error = 0;
  for (size_t done = 0; done < bytes.size() && error == 0;) {
    const long written = WriteSome(fd, bytes.data() + done, bytes.size() - done);
    if (written > 0)
      done += static_cast<size_t>(written);
    else if (written == 0)
      error = EIO;
    else if (errno != EINTR)
      error = errno;
  }
  if (error == 0 && SyncFile(fd) != 0) error = errno;
  if (CloseFile(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    std::error_code ignored;
    fs::remove(path, ignored);
    return SaveResult::Failed("writing failed (" + ErrorText(error) + ")");
  }
  return SaveResult::Done();
}

// Writes bytes to a new hidden file beside `beside`; `temp` is its name.
SaveResult WriteTemporary(const fs::path& beside, const std::vector<uint8_t>& bytes,
                          bool replacesExisting, fs::path& temp) {
  std::random_device random;
  SaveResult written = SaveResult::Failed("no free name for a temporary file was found");
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = FolderOf(beside) /
           ("." + beside.filename().string() + "." + std::to_string(random() % 1000000) + ".part");
    bool existed = false;
    written = WriteNew(temp, bytes, CreationMode(replacesExisting), &existed);
    if (!existed) break;
  }
  return written;
}

// Gives `file` the owner, group and mode of `old`, as far as the user may.
void AdoptAttributes(const fs::path& file, const fs::path& old) {
#ifdef _WIN32
  std::error_code ec;
  fs::permissions(file, fs::status(old, ec).permissions(), ec);
#else
  struct stat was;
  if (::stat(old.c_str(), &was) != 0) return;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  mode_t mode = was.st_mode & 07777;
  // Only root gives a file away; a user may still keep its group when they belong to it.
  if (::fchown(fd, was.st_uid, was.st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), was.st_gid) != 0) {
    // The file stays in the user's own group: that group gets no more than everyone else,
    // rather than what the old group was trusted with.
    mode = (mode & ~static_cast<mode_t>(S_ISGID | 0070)) | ((mode & 0007) << 3);
  }
  // After the owner, since changing it clears the set-id bits.
  (void)::fchmod(fd, mode);
  ::close(fd);
#endif
}

// Puts the new folder entry on the disk too, so the rename survives a power cut. Windows
// keeps the entry with the file; elsewhere a folder that cannot be synced (some network file
// systems) does not make the save fail, as the file itself is complete.
void SyncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
#endif
}

}  // namespace

SaveTarget InspectSaveTarget(const fs::path& path) {
  SaveTarget target;
  if (path.empty()) {
    target.Problem = "no file name was given";
    return target;
  }
  target.File = FollowLinks(path, target.Problem);
  if (!target.Problem.empty()) return target;
  std::error_code ec;
  const fs::file_status status = fs::status(target.File, ec);
  target.Exists = fs::exists(status);
  if (!target.Exists) {
    const fs::path folder = FolderOf(target.File);
    if (!fs::is_directory(folder, ec))
      target.Problem = "the folder " + folder.string() + " does not exist";
    return target;
  }
  if (fs::is_directory(status)) {
    target.Problem = "it is a folder";
    return target;
  }
  // A device or a pipe would be replaced by a plain file, not written.
  if (!fs::is_regular_file(status)) {
    target.Problem = "it is not a regular file";
    return target;
  }
  const uintmax_t names = fs::hard_link_count(target.File, ec);
  target.OtherNames = !ec && names > 1 ? names - 1 : 0;
  constexpr fs::perms kAnyWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  target.ReadOnly = (status.permissions() & kAnyWrite) == fs::perms::none || !MayWrite(target.File);
  return target;
}

std::string SaveRefusal(const SaveTarget& target) {
  if (!target.Problem.empty()) return target.Problem;
  return target.ReadOnly ? "it is read-only" : std::string();
}

std::string HardLinkNote(const fs::path& path, const SaveTarget& target) {
  if (target.OtherNames == 0 || !SaveRefusal(target).empty()) return {};
  const bool one = target.OtherNames == 1;
  return path.filename().string() + " has " + std::to_string(target.OtherNames) +
         (one ? " other name (hard link); it" : " other names (hard links); they") +
         " will keep the old content.";
}

SaveResult WriteNewFile(const fs::path& path, const std::vector<uint8_t>& bytes,
                        bool replacesExisting) {
  return WriteNew(path, bytes, CreationMode(replacesExisting));
}

SaveResult MoveIntoPlace(const fs::path& finished, const fs::path& path) {
  const SaveTarget target = InspectSaveTarget(path);
  std::string refusal = SaveRefusal(target);
  if (refusal.empty()) {
    if (target.Exists) AdoptAttributes(finished, target.File);
    std::error_code ec;
    fs::rename(finished, target.File, ec);
    if (!ec) {
      SyncFolder(FolderOf(target.File));
      return SaveResult::Done();
    }
    refusal = "it cannot be replaced (" + ec.message() + ")";
  }
  std::error_code ignored;
  fs::remove(finished, ignored);
  return SaveResult::Failed(refusal);
}

SaveResult SaveFileAtomically(const fs::path& path, const std::vector<uint8_t>& bytes) {
  const SaveTarget target = InspectSaveTarget(path);
  if (const std::string refusal = SaveRefusal(target); !refusal.empty())
    return SaveResult::Failed(refusal);
  fs::path temp;
  SaveResult written = WriteTemporary(target.File, bytes, target.Exists, temp);
  if (!written.Ok()) return written;
  return MoveIntoPlace(temp, path);
}

}  // namespace slab

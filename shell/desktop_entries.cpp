#include "shell/desktop_entries.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/data_paths.h"

extern char** environ;

namespace slab {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kEntryName = "slabwright2.desktop";
constexpr std::string_view kMimePackageName = "slabwright2.xml";
constexpr std::string_view kProgramName = "Slabwright2";
constexpr std::string_view kIconName = "slabwright2";

struct LevelType {
  std::string_view MimeType;
  std::string_view Comment;
  std::vector<std::string_view> Globs;
};

const std::vector<LevelType>& LevelTypes() {
  static const std::vector<LevelType> types{
      {"application/x-tr1-level", "TR1 Level", {"*.phd", "*.tub"}},
      {"application/x-tr2-level", "TR2 Level", {"*.tr2"}},
      {"application/x-tr4-level", "TR4 Level", {"*.tr4"}},
      {"application/x-tr5-level", "TR5 Level", {"*.trc"}},
  };
  return types;
}

// Desktop files are UTF-8 throughout and one value a line.
bool FitsDesktopFile(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) return false;
    size_t length = byte < 0x80           ? 1
                    : (byte >> 5) == 0x6  ? 2
                    : (byte >> 4) == 0xE  ? 3
                    : (byte >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

// A string value: a backslash is written doubled.
std::string EscapeString(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// One argument of an Exec line: quoted, with the quoting's and the field codes' own
// characters escaped, and then written as a string value.
std::string ExecArgument(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return EscapeString(quoted);
}

bool SameContent(const fs::path& file, const std::string& text) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream existing;
  existing << in.rdbuf();
  return existing.str() == text;
}

// Written beside the target and renamed over it, so a reader never sees half a file.
bool WriteFileAtomically(const fs::path& file, const std::string& text) {
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  if (error) return false;
  fs::path temporary = file;
  temporary += ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    out.close();
    if (!out) {
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::rename(temporary, file, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  return true;
}

// Runs a desktop tool on our folder and waits for it; a missing tool is no failure, the
// desktop then finds the files when its caches are next rebuilt.
void RunQuietly(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

// The entry with `run` as the Exec lines' program, `tryExec` as TryExec's value, and an Icon
// line when `icon` is given.
std::string EntryText(const std::string& run, const std::string& tryExec, std::string_view icon) {
  std::string mimeTypes;
  for (const LevelType& type : LevelTypes()) mimeTypes += std::string(type.MimeType) + ";";
  std::string text;
  for (const std::string& line : {
           std::string("[Desktop Entry]"),
           std::string("Type=Application"),
           std::string("Name=Slabwright"),
           std::string("GenericName=Level Map Editor"),
           std::string("Comment=View and edit the maps of Tomb Raider levels"),
           "TryExec=" + tryExec,
           "Exec=" + run + " --open %f",
           std::string("Terminal=false"),
           std::string("Categories=Development;"),
           "MimeType=" + mimeTypes,
           std::string("Actions=ConvertToTR3;ConvertToTR2;ViewRooms;"),
           std::string(),
           std::string("[Desktop Action ConvertToTR3]"),
           std::string("Name=Convert To TR3"),
           "Exec=" + run + " /convert3 %f",
           std::string(),
           std::string("[Desktop Action ConvertToTR2]"),
           std::string("Name=Convert To TR2"),
           "Exec=" + run + " /convert2 %f",
           std::string(),
           std::string("[Desktop Action ViewRooms]"),
           std::string("Name=View Rooms with Slabwright"),
           "Exec=" + run + " /view %f",
       }) {
    text += line + "\n";
    if (!icon.empty() && line.starts_with("Comment=")) text += "Icon=" + std::string(icon) + "\n";
  }
  return text;
}

}  // namespace

fs::path XdgDataHome() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome && fs::path(dataHome).is_absolute()) return dataHome;
  const char* home = std::getenv("HOME");
  if (home && *home) return fs::path(home) / ".local" / "share";
  return {};
}

std::string DesktopEntryText(const fs::path& executable) {
  std::error_code error;
  fs::path program = fs::absolute(executable, error);
  if (error) return {};
  std::string path = program.string();
  if (!FitsDesktopFile(path)) return {};
  // The program takes everything after the switch and one space as the file name, so the
  // file goes in as one argument (%f) and spaces inside it come through.
  return EntryText(ExecArgument(path), EscapeString(path), {});
}

std::string InstalledDesktopEntryText() {
  return EntryText(std::string(kProgramName), std::string(kProgramName), kIconName);
}

fs::path InstalledDesktopEntry(const fs::path& executable) {
  // The data folder's parent is the tree's share/ (see platform/data_paths.h).
  return ShippedFolders(executable.parent_path(), ShippedKind::Data).back().parent_path() /
         "applications" / kEntryName;
}

std::string LevelMimeTypesText() {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const LevelType& type : LevelTypes()) {
    text += "  <mime-type type=\"" + std::string(type.MimeType) + "\">\n";
    text += "    <comment>" + std::string(type.Comment) + "</comment>\n";
    for (std::string_view glob : type.Globs)
      text += "    <glob pattern=\"" + std::string(glob) + "\"/>\n";
    text += "  </mime-type>\n";
  }
  text += "</mime-info>\n";
  return text;
}

bool WriteDesktopEntriesTo(const fs::path& dataHome, const fs::path& executable) {
  if (dataHome.empty()) return false;
  fs::path applications = dataHome / "applications";
  fs::path mime = dataHome / "mime";
  fs::path entryFile = applications / kEntryName;
  fs::path mimeFile = mime / "packages" / kMimePackageName;

  // An installed program has its entries in the tree: copies of ours in the user's folder
  // would shadow them (and go stale when a portable build they name is removed).
  std::error_code error;
  if (fs::is_regular_file(InstalledDesktopEntry(executable), error)) {
    if (fs::remove(mimeFile, error)) RunQuietly({"update-mime-database", mime.string()});
    if (fs::remove(entryFile, error))
      RunQuietly({"update-desktop-database", "-q", applications.string()});
    return !fs::exists(mimeFile, error) && !fs::exists(entryFile, error);
  }

  std::string entry = DesktopEntryText(executable);
  if (entry.empty()) return false;
  std::string types = LevelMimeTypesText();

  bool ok = true;
  if (!SameContent(mimeFile, types)) {
    ok = WriteFileAtomically(mimeFile, types) && ok;
    RunQuietly({"update-mime-database", mime.string()});
  }
  if (!SameContent(entryFile, entry)) {
    ok = WriteFileAtomically(entryFile, entry) && ok;
    RunQuietly({"update-desktop-database", "-q", applications.string()});
  }
  return ok;
}

bool WriteDesktopEntries(const fs::path& executable) {
  return WriteDesktopEntriesTo(XdgDataHome(), executable);
}

}  // namespace slab

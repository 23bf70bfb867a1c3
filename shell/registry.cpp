#include "shell/registry.h"

#include <algorithm>
#include <array>
#include <utility>

namespace slab {
namespace {

constexpr std::array<std::pair<std::string_view, uint32_t>, 7> kRoots{{
    {"HKEY_CLASSES_ROOT", kHKeyClassesRoot},
    {"HKEY_CURRENT_USER", kHKeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", kHKeyLocalMachine},
    {"HKEY_USERS", kHKeyUsers},
    {"HKEY_PERFORMANCE_DATA", kHKeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", kHKeyCurrentConfig},
    {"HKEY_DYN_DATA", kHKeyDynData},
}};

// A value is text up to its first zero, without the spaces around it.
std::string CleanValue(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

struct Verb {
  std::string_view Name;
  std::string_view Switch;
};

struct Association {
  std::string_view ExtensionKey;
  std::string_view ClassName;
  std::array<Verb, 3> Verbs;
  size_t NumVerbs;
};

constexpr Verb kView{"View Rooms with Slabwright", "/view %1"};
constexpr std::array<Association, 3> kAssociations{{
    {"HKEY_CLASSES_ROOT\\.tr4",
     "TR4 Level",
     {{{"Convert To TR3", "/convert3 %1"}, {"Convert To TR2", "/convert2 %1"}, kView}},
     3},
    {"HKEY_CLASSES_ROOT\\.trc", "TR5 Level", {{kView}}, 1},
    {"HKEY_CLASSES_ROOT\\.tr2", "TR2 Level", {{kView}}, 1},
}};

}  // namespace

uint32_t ParseRegistryPath(std::string& path, MessageSink& messages) {
  if (!path.starts_with("HKEY_") || path.ends_with('\\')) {
    messages.Show("Incorrect Format:\n\n" + path);
    return 0;
  }
  size_t slash = path.find('\\');
  std::string rootName = path.substr(0, slash);
  path = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  for (const auto& [name, handle] : kRoots)
    if (rootName == name) return handle;
  return 0;
}

void RegistryCreateKey(RegistryBackend& registry, std::string_view keyPath, MessageSink& messages) {
  std::string subkey(keyPath);
  uint32_t root = ParseRegistryPath(subkey, messages);
  if (root != 0) registry.CreateKey(root, subkey);
}

void RegistrySetString(RegistryBackend& registry, std::string_view keyPath,
                       std::string_view valueName, std::string_view value, MessageSink& messages) {
  std::string subkey(keyPath);
  uint32_t root = ParseRegistryPath(subkey, messages);
  if (root != 0) registry.SetString(root, subkey, valueName, value);
}

std::string RegistryGetString(RegistryBackend& registry, std::string_view keyPath,
                              std::string_view valueName, MessageSink& messages) {
  std::string subkey(keyPath);
  uint32_t root = ParseRegistryPath(subkey, messages);
  if (root == 0) return {};
  std::optional<std::string> value = registry.GetString(root, subkey, valueName);
  return value ? CleanValue(*value) : std::string("Err");
}

void RegisterAssociations(RegistryBackend& registry, std::string_view programFolder,
                          MessageSink& messages) {
  // A folder given with its separator (a drive's root) must not double it.
  if (programFolder.ends_with('\\') || programFolder.ends_with('/')) programFolder.remove_suffix(1);
  // The commands are Windows command lines: the toolkit's forward slashes become backslashes.
  std::string folder(programFolder);
  std::replace(folder.begin(), folder.end(), '/', '\\');
  std::string program = "\"" + folder + "\\Slabwright2.exe\" ";

  for (const Association& association : kAssociations) {
    std::string className = RegistryGetString(registry, association.ExtensionKey, "", messages);
    // An empty class name counts as none: it would name the root itself as the class.
    if (Lower(className) == "err" || className.empty()) {
      className = association.ClassName;
      RegistryCreateKey(registry, association.ExtensionKey, messages);
      RegistrySetString(registry, association.ExtensionKey, "", className, messages);
    }
    std::string classKey = "HKEY_CLASSES_ROOT\\" + className;
    for (size_t i = 0; i < association.NumVerbs; ++i) {
      const Verb& verb = association.Verbs[i];
      std::string verbKey = classKey + "\\shell\\" + std::string(verb.Name);
      std::string commandKey = verbKey + "\\Command";
      RegistryCreateKey(registry, verbKey, messages);
      RegistryCreateKey(registry, commandKey, messages);
      RegistrySetString(registry, commandKey, "", program + std::string(verb.Switch), messages);
    }
  }
}

void RegistryStartUp(RegistryBackend& registry, std::string_view programFolder,
                     MessageSink& messages) {
  RegistryCreateKey(registry, "HKEY_LOCAL_MACHINE\\software\\Ondravel", messages);
  RegistryCreateKey(registry, "HKEY_LOCAL_MACHINE\\software\\Ondravel\\Slabwright", messages);
  RegisterAssociations(registry, programFolder, messages);
}

}  // namespace slab

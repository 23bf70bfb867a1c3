// The Windows registry behind the registry seam; built on Windows only.
//
// Key paths and values arrive as UTF-8 (the program's folder comes from the toolkit) and go
// through the wide-character calls, so a folder named outside the ANSI code page still gives
// commands that start the program. Keys under HKEY_CLASSES_ROOT are written to the user's own
// classes (HKEY_CURRENT_USER\Software\Classes), which every user may write and which Windows
// merges over the machine's; they are read from the user's classes first, as that merged
// view does.
#ifdef _WIN32

#include <windows.h>

#include <string>
#include <vector>

#include "platform/registry_backend.h"

namespace slab {
namespace {

constexpr wchar_t kUserClasses[] = L"Software\\Classes";

HKEY RootKey(uint32_t root) {
  switch (root) {
    case kHKeyClassesRoot:
      return HKEY_CLASSES_ROOT;
    case kHKeyCurrentUser:
      return HKEY_CURRENT_USER;
    case kHKeyLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case kHKeyUsers:
      return HKEY_USERS;
    case kHKeyPerformanceData:
      return HKEY_PERFORMANCE_DATA;
    case kHKeyCurrentConfig:
      return HKEY_CURRENT_CONFIG;
    default:
      return nullptr;  // HKEY_DYN_DATA exists only on old systems
  }
}

std::wstring Wide(std::string_view text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                      nullptr, nullptr);
  return narrow;
}

// Where a write goes: the user's classes stand in for HKEY_CLASSES_ROOT.
std::pair<HKEY, std::wstring> WritePlace(uint32_t root, std::string_view subkey) {
  if (root == kHKeyClassesRoot) {
    std::wstring path = kUserClasses;
    if (!subkey.empty()) path += L"\\" + Wide(subkey);
    return {HKEY_CURRENT_USER, path};
  }
  return {RootKey(root), Wide(subkey)};
}

std::optional<std::string> ReadString(HKEY root, const std::wstring& subkey,
                                      const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  // Asked for its size first: a long class name is read whole, never taken for a missing one.
  DWORD type = 0, bytes = 0;
  LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes);
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
    bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    result = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &bytes);
  } else if (result == ERROR_SUCCESS) {
    result = ERROR_INVALID_DATA;  // not text: nothing the program wrote or can use
  }
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return std::nullopt;
  std::wstring_view text(buffer.data(), bytes / sizeof(wchar_t));
  return Utf8(text.substr(0, text.find(L'\0')));
}

class Win32Registry : public RegistryBackend {
 public:
  bool CreateKey(uint32_t root, std::string_view subkey) override {
    const auto [rootKey, path] = WritePlace(root, subkey);
    if (!rootKey) return false;
    HKEY key = nullptr;
    if (RegCreateKeyExW(rootKey, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  bool SetString(uint32_t root, std::string_view subkey, std::string_view name,
                 std::string_view value) override {
    const auto [rootKey, path] = WritePlace(root, subkey);
    if (!rootKey) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootKey, path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) return false;
    // Stored with its terminating zero, as readers of REG_SZ values expect.
    const std::wstring text = Wide(value);
    LONG result = RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
  }

  std::optional<std::string> GetString(uint32_t root, std::string_view subkey,
                                       std::string_view name) override {
    if (root == kHKeyClassesRoot) {
      if (auto user = ReadString(HKEY_CURRENT_USER, WritePlace(root, subkey).second, Wide(name)))
        return user;
    }
    HKEY rootKey = RootKey(root);
    if (!rootKey) return std::nullopt;
    return ReadString(rootKey, Wide(subkey), Wide(name));
  }
};

}  // namespace

RegistryBackend& SystemRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace slab

#endif  // _WIN32

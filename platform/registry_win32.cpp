// The Windows registry behind the registry seam; built on Windows only.
#ifdef _WIN32

#include <windows.h>

#include <string>

#include "platform/registry_backend.h"

namespace slab {
namespace {

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

constexpr REGSAM kWriteAccess = 0x20006;  // KEY_WRITE
constexpr REGSAM kReadAccess = 0x20019;   // KEY_READ

class Win32Registry : public RegistryBackend {
 public:
  bool CreateKey(uint32_t root, std::string_view subkey) override {
    HKEY rootKey = RootKey(root);
    if (!rootKey) return false;
    HKEY key = nullptr;
    if (RegCreateKeyA(rootKey, std::string(subkey).c_str(), &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  bool SetString(uint32_t root, std::string_view subkey, std::string_view name,
                 std::string_view value) override {
    HKEY rootKey = RootKey(root);
    if (!rootKey) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootKey, std::string(subkey).c_str(), 0, kWriteAccess, &key) != ERROR_SUCCESS)
      return false;
    // Stored with its terminating zero, as readers of REG_SZ values expect.
    std::string text(value);
    LONG result = RegSetValueExA(key, std::string(name).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
  }

  std::optional<std::string> GetString(uint32_t root, std::string_view subkey,
                                       std::string_view name) override {
    HKEY rootKey = RootKey(root);
    if (!rootKey) return std::nullopt;
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootKey, std::string(subkey).c_str(), 0, kReadAccess, &key) != ERROR_SUCCESS)
      return std::nullopt;
    char buffer[255] = {};
    DWORD length = sizeof(buffer);
    LONG result = RegQueryValueExA(key, std::string(name).c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &length);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    return std::string(buffer, length);
  }
};

}  // namespace

RegistryBackend& SystemRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace slab

#endif  // _WIN32

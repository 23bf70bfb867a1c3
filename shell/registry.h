// Registry access by full key paths ("HKEY_CLASSES_ROOT\.tr4"), over a backend: the
// Windows registry on Windows, an in-memory one elsewhere and in tests. Callers never
// depend on the results; only malformed paths are reported.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "level/messages.h"

namespace slab {

// The predefined root handles, as the Windows registry numbers them.
inline constexpr uint32_t kHKeyClassesRoot = 0x80000000u;
inline constexpr uint32_t kHKeyCurrentUser = 0x80000001u;
inline constexpr uint32_t kHKeyLocalMachine = 0x80000002u;
inline constexpr uint32_t kHKeyUsers = 0x80000003u;
inline constexpr uint32_t kHKeyPerformanceData = 0x80000004u;
inline constexpr uint32_t kHKeyCurrentConfig = 0x80000005u;
inline constexpr uint32_t kHKeyDynData = 0x80000006u;

// The few registry calls the program makes. A root of 0 never reaches a backend.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;
  // Creates the key (and any missing parents); an existing key is left as it is.
  virtual bool CreateKey(uint32_t root, std::string_view subkey) = 0;
  // Writes a string value into an existing key; false when the key cannot be opened.
  virtual bool SetString(uint32_t root, std::string_view subkey, std::string_view name,
                         std::string_view value) = 0;
  // The stored text, or nothing when the key cannot be opened or the value read.
  virtual std::optional<std::string> GetString(uint32_t root, std::string_view subkey,
                                               std::string_view name) = 0;
};

// Splits a key path: returns the root handle and leaves only the subkey in `path`. A path
// not starting with "HKEY_" or ending in a backslash is refused with a message and gives 0;
// an unknown root name gives 0 silently.
uint32_t ParseRegistryPath(std::string& path, MessageSink& messages);

void RegistryCreateKey(RegistryBackend& registry, std::string_view keyPath, MessageSink& messages);
void RegistrySetString(RegistryBackend& registry, std::string_view keyPath,
                       std::string_view valueName, std::string_view value, MessageSink& messages);
// The value without surrounding spaces; "Err" when it cannot be read, "" for a refused path.
std::string RegistryGetString(RegistryBackend& registry, std::string_view keyPath,
                              std::string_view valueName, MessageSink& messages);

// Offers the program's commands on ".tr4", ".trc" and ".tr2" files, pointing at
// Slabwright2.exe in `programFolder`. Run at every start so a moved program is followed.
void RegisterAssociations(RegistryBackend& registry, std::string_view programFolder,
                          MessageSink& messages);

// The registry steps of start-up: the program's two keys under HKEY_LOCAL_MACHINE, then
// the associations.
void RegistryStartUp(RegistryBackend& registry, std::string_view programFolder,
                     MessageSink& messages);

// The registry of this platform: the Windows registry there, a process-wide in-memory
// registry elsewhere (nothing on those systems reads it).
RegistryBackend& SystemRegistry();

}  // namespace slab

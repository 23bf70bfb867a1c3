// The registry seam and the registry of this platform (the Windows registry there,
// memory elsewhere).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The registry of this platform: the Windows registry there, a process-wide in-memory
// registry elsewhere (nothing on those systems reads it).
RegistryBackend& SystemRegistry();

}  // namespace slab

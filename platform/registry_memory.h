// A registry kept in memory: the platform registry where Windows has none, and the one
// tests inspect. Key and value names compare without case, as in the Windows registry.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_backend.h"

namespace slab {

class MemoryRegistry : public RegistryBackend {
 public:
  bool CreateKey(uint32_t root, std::string_view subkey) override;
  bool SetString(uint32_t root, std::string_view subkey, std::string_view name,
                 std::string_view value) override;
  std::optional<std::string> GetString(uint32_t root, std::string_view subkey,
                                       std::string_view name) override;

  bool HasKey(uint32_t root, std::string_view subkey) const;
  size_t KeyCount() const { return keys_.size(); }

  // Makes every creation and write fail, as for a user without the rights to them.
  bool ReadOnly = false;

 private:
  // Lower-cased "root\subkey" to the key's values by lower-cased name.
  std::map<std::string, std::map<std::string, std::string>> keys_;
};

}  // namespace slab

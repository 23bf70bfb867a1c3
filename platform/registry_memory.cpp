#include "platform/registry_memory.h"

namespace slab {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string KeyName(uint32_t root, std::string_view subkey) {
  std::string name = std::to_string(root);
  if (!subkey.empty()) name += "\\" + Lower(subkey);
  return name;
}

}  // namespace

bool MemoryRegistry::CreateKey(uint32_t root, std::string_view subkey) {
  if (ReadOnly) return false;
  // Every parent comes into being with the key, as the Windows call makes them.
  keys_[KeyName(root, {})];
  for (size_t slash = subkey.find('\\'); slash != std::string_view::npos;
       slash = subkey.find('\\', slash + 1))
    keys_[KeyName(root, subkey.substr(0, slash))];
  keys_[KeyName(root, subkey)];
  return true;
}

bool MemoryRegistry::SetString(uint32_t root, std::string_view subkey, std::string_view name,
                               std::string_view value) {
  if (ReadOnly) return false;
  auto key = keys_.find(KeyName(root, subkey));
  if (key == keys_.end()) return false;
  key->second[Lower(name)] = std::string(value);
  return true;
}

std::optional<std::string> MemoryRegistry::GetString(uint32_t root, std::string_view subkey,
                                                     std::string_view name) {
  auto key = keys_.find(KeyName(root, subkey));
  if (key == keys_.end()) return std::nullopt;
  auto value = key->second.find(Lower(name));
  if (value == key->second.end()) return std::nullopt;
  return value->second;
}

bool MemoryRegistry::HasKey(uint32_t root, std::string_view subkey) const {
  return keys_.contains(KeyName(root, subkey));
}

}  // namespace slab

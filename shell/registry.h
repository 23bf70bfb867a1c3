// Registry access by full key paths ("HKEY_CLASSES_ROOT\.tr4"), over a backend: the
// Windows registry on Windows, an in-memory one elsewhere and in tests. Callers never
// depend on the results; only malformed paths are reported.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/messages.h"
#include "platform/registry_backend.h"

namespace slab {

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

}  // namespace slab

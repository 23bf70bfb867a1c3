// Where there is no Windows registry, the program's entries live in memory for the run:
// the desktop entries do the real work there.
#ifndef _WIN32

#include "platform/registry_memory.h"

namespace slab {

RegistryBackend& SystemRegistry() {
  static MemoryRegistry registry;
  return registry;
}

}  // namespace slab

#endif  // _WIN32

// The whole-file entry point over arbitrary bytes: whatever they hold, loading must end
// with a level or one refusal, never a crash, a huge allocation or a long run.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/discarding_sink.h"
#include "level/load_level.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  slab::fuzz::DiscardingSink sink;
  slab::LoadLevelFromBytes(std::span<const uint8_t>(data, size), "fuzz.tr2", sink);
  return 0;
}

// Every check over whatever level arbitrary bytes load as: the checks look at references that
// point anywhere, so none may read outside the level's lists, whatever they hold.
#include <cstddef>
#include <cstdint>
#include <span>

#include "check/check.h"
#include "fuzz/discarding_sink.h"
#include "level/load_level.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  slab::fuzz::DiscardingSink sink;
  const slab::LoadResult loaded =
      slab::LoadLevelFromBytes(std::span<const uint8_t>(data, size), "fuzz.tr2", sink);
  if (loaded.Loaded) slab::CheckLevel(loaded.Lvl, loaded.DetectedGame.value_or(slab::Game::TR2));
  return 0;
}

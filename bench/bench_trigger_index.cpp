// The trigger index built in one pass over the sectors, against the nested loops over
// items, rooms and sectors, on the largest real level.
#include "bench/bench_common.h"
#include "level/load_level.h"
#include "map/trigger_index.h"
#include "tests/map/nested_trigger_index.h"

namespace {

const slab::Level& Loaded() {
  static const slab::Level level = [] {
    auto path = slab::bench::LargestLevel({"tr1", "tr2", "tr3", "tr4", "tr5"});
    if (path.empty()) return slab::Level{};
    slab::RecordingSink messages;
    slab::Level loaded = slab::LoadLevel(path, messages).Lvl;
    std::printf("level: %s (%zu items, %zu rooms)\n", path.string().c_str(), loaded.Items.size(),
                loaded.Rooms.size());
    return loaded;
  }();
  return level;
}

void BM_NestedLoops(benchmark::State& state) {
  const slab::Level& level = Loaded();
  if (level.Rooms.empty()) return state.SkipWithError("no real level found");
  for (auto _ : state) benchmark::DoNotOptimize(slab::test::NestedTriggerIndex(level));
}

void BM_BuildTriggerIndex(benchmark::State& state) {
  const slab::Level& level = Loaded();
  if (level.Rooms.empty()) return state.SkipWithError("no real level found");
  for (auto _ : state) benchmark::DoNotOptimize(slab::BuildTriggerIndex(level));
}

BENCHMARK(BM_NestedLoops)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildTriggerIndex)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return slab::bench::RunWithRatio(argc, argv, "BM_BuildTriggerIndex", "BM_NestedLoops",
                                   "one pass / nested loops", 1.0 / 50);
}

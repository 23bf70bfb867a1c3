// Filling the level-wide item and trigger lists and filtering them, against loading the level,
// on the largest fourth-game level: opening a level pays for the lists once, so they must
// stay a small part of the load. Prints the ratio; the target is at most 0.1.
#include "bench/bench_common.h"
#include "level/load_level.h"
#include "map/level_lists.h"
#include "map/trigger_index.h"

namespace {

const std::filesystem::path& LevelPath() {
  static const std::filesystem::path path = slab::bench::LargestLevel({"tr4"});
  return path;
}

struct Loaded {
  slab::Level Lvl;
  slab::Game GameVersion = slab::Game::None;
};

const Loaded& Level() {
  static const Loaded loaded = [] {
    Loaded l;
    if (LevelPath().empty()) return l;
    slab::RecordingSink messages;
    slab::LoadResult loaded = slab::LoadLevel(LevelPath(), messages);
    l.Lvl = std::move(loaded.Lvl);
    l.GameVersion = loaded.DetectedGame.value_or(l.GameVersion);
    std::printf("level: %s (%zu items, %zu AI objects)\n", LevelPath().string().c_str(),
                l.Lvl.Items.size(), l.Lvl.AIObjects.size());
    return l;
  }();
  return loaded;
}

void BM_LoadLevel(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  slab::RecordingSink messages;
  for (auto _ : state) {
    benchmark::DoNotOptimize(slab::LoadLevel(LevelPath(), messages));
  }
}

// What opening a level adds for the two docks: the trigger index, both row sets, and one
// filter pass over each as a keystroke makes.
void BM_FillAndFilterLists(benchmark::State& state) {
  const Loaded& l = Level();
  if (l.Lvl.Rooms.empty()) return state.SkipWithError("no fourth-game level found");
  const slab::ObjectNames names;
  for (auto _ : state) {
    const auto index = slab::BuildTriggerIndex(l.Lvl);
    const auto items = slab::BuildItemRows(l.Lvl, l.GameVersion, names, index);
    const auto triggers = slab::BuildTriggerRows(l.Lvl, l.GameVersion, names);
    benchmark::DoNotOptimize(slab::MatchingRows(items, {"mask 11111", slab::kAnyType}));
    benchmark::DoNotOptimize(slab::MatchingRows(triggers, {"object", slab::kAnyType}));
  }
}

BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillAndFilterLists)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return slab::bench::RunWithRatio(argc, argv, "BM_FillAndFilterLists", "BM_LoadLevel",
                                   "lists / load", 0.1);
}

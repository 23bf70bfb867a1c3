// Building every list of the largest real level (rooms, lights, cameras, statics, sounds,
// items, triggers, with a filter pass over each) against loading that level: a list is built
// when first shown, and all of them together must stay a small part of opening the level.
// Prints the ratio; the target is at most 0.1.
#include "bench/bench_common.h"
#include "level/load_level.h"
#include "map/level_tables.h"

namespace {

const std::filesystem::path& LevelPath() {
  static const std::filesystem::path path =
      slab::bench::LargestLevel({"tr1", "tr2", "tr3", "tr4", "tr5"});
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
    slab::LoadResult result = slab::LoadLevel(LevelPath(), messages);
    l.Lvl = std::move(result.Lvl);
    l.GameVersion = result.DetectedGame.value_or(l.GameVersion);
    std::printf("level: %s (%zu rooms, %zu items)\n", LevelPath().string().c_str(),
                l.Lvl.Rooms.size(), l.Lvl.Items.size());
    return l;
  }();
  return loaded;
}

void BM_LoadLevel(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no real level found");
  slab::RecordingSink messages;
  for (auto _ : state) benchmark::DoNotOptimize(slab::LoadLevel(LevelPath(), messages));
}

void BM_AllLists(benchmark::State& state) {
  const Loaded& l = Level();
  if (l.Lvl.Rooms.empty()) return state.SkipWithError("no real level found");
  const slab::ObjectNames names;
  for (auto _ : state) {
    for (const slab::ListKindName& kind : slab::kListKinds) {
      const slab::LevelTable table = slab::BuildLevelTable(l.Lvl, l.GameVersion, names, kind.Kind);
      benchmark::DoNotOptimize(slab::MatchingRows(table.Rows, "1"));
    }
  }
}

BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllLists)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return slab::bench::RunWithRatio(argc, argv, "BM_AllLists", "BM_LoadLevel", "all lists / load",
                                   0.1);
}

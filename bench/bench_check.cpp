// Every check over the largest real level against loading it from its file. Prints the ratio;
// the target is under 0.5, so checking after each edit costs less than half a load.
#include "bench/bench_common.h"
#include "check/check.h"
#include "level/load_level.h"

namespace {

const std::filesystem::path& Largest() {
  static const std::filesystem::path path =
      slab::bench::LargestLevel({"tr1", "tr2", "tr3", "tr4", "tr5"});
  return path;
}

void BM_Load(benchmark::State& state) {
  if (Largest().empty()) return state.SkipWithError("no real level");
  slab::RecordingSink messages;
  for (auto _ : state) {
    auto loaded = slab::LoadLevel(Largest(), messages);
    benchmark::DoNotOptimize(loaded.Lvl.Rooms.data());
  }
}

void BM_CheckAll(benchmark::State& state) {
  if (Largest().empty()) return state.SkipWithError("no real level");
  slab::RecordingSink messages;
  const slab::LoadResult loaded = slab::LoadLevel(Largest(), messages);
  if (!loaded.Loaded) return state.SkipWithError("the largest level was refused");
  const slab::Game game = loaded.DetectedGame.value_or(slab::Game::None);
  size_t findings = 0;
  for (auto _ : state) {
    const auto found = slab::CheckLevel(loaded.Lvl, game);
    findings = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["findings"] = static_cast<double>(findings);
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckAll)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::printf("level: %s\n", Largest().string().c_str());
  return slab::bench::RunWithRatio(argc, argv, "BM_CheckAll", "BM_Load", "check / load", 0.5);
}

// Loading the largest second- or third-game level against reading the same file into memory
// with one read. Prints the ratio of the two; the target is at most 1.5.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/bench_common.h"
#include "level/load_level.h"

namespace {

const std::filesystem::path& LevelPath() {
  static const std::filesystem::path path = slab::bench::LargestLevel({"tr2", "tr3"});
  return path;
}

void BM_ReadFile(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no second- or third-game level found");
  for (auto _ : state) {
    auto bytes = slab::bench::ReadFile(LevelPath());
    benchmark::DoNotOptimize(bytes.data());
  }
}

void BM_LoadLevel(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no second- or third-game level found");
  slab::RecordingSink messages;
  for (auto _ : state) {
    auto result = slab::LoadLevel(LevelPath(), messages);
    if (!result.Loaded) return state.SkipWithError("the level did not load");
    benchmark::DoNotOptimize(result.Lvl.Rooms.data());
  }
}

// The reading alone, over bytes already in memory: where the time beyond the file read goes.
void BM_ParseFromMemory(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no second- or third-game level found");
  const auto bytes = slab::bench::ReadFile(LevelPath());
  const std::string name = LevelPath().string();
  slab::RecordingSink messages;
  for (auto _ : state) {
    auto result = slab::LoadLevelFromBytes(bytes, name, messages);
    benchmark::DoNotOptimize(result.Lvl.Rooms.data());
  }
}

BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseFromMemory)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::printf("level: %s\n", LevelPath().string().c_str());
  return slab::bench::RunWithRatio(argc, argv, "BM_LoadLevel", "BM_ReadFile", "load / read", 1.5);
}

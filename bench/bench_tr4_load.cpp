// Loading the largest fourth-game level against its floor: reading the file and inflating its
// four chunks with zlib. Prints the ratio of the two; the target is at most 0.7, which the
// load meets by inflating with libdeflate into storage of each chunk's stated size.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_common.h"
#include "level/load_level.h"

namespace {

const std::filesystem::path& LevelPath() {
  static const std::filesystem::path path = slab::bench::LargestLevel({"tr4"});
  return path;
}

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

void BM_ReadAndInflate(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  for (auto _ : state) {
    auto bytes = slab::bench::ReadFile(LevelPath());
    size_t pos = 4 + 6;  // version word, page counts
    for (int chunk = 0; chunk < 4; ++chunk) {
      uint32_t size = U32(bytes, pos);
      uint32_t compressed = U32(bytes, pos + 4);
      std::vector<uint8_t> out(size);
      uLongf len = size;
      uncompress(out.data(), &len, bytes.data() + pos + 8, compressed);
      benchmark::DoNotOptimize(out.data());
      pos += 8 + compressed;
    }
  }
}

void BM_LoadLevel(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  slab::RecordingSink messages;
  for (auto _ : state) {
    auto result = slab::LoadLevel(LevelPath(), messages);
    if (!result.Loaded) return state.SkipWithError("the level did not load");
    benchmark::DoNotOptimize(result.Lvl.Rooms.data());
  }
}

BENCHMARK(BM_ReadAndInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::printf("level: %s\n", LevelPath().string().c_str());
  return slab::bench::RunWithRatio(argc, argv, "BM_LoadLevel", "BM_ReadAndInflate",
                                   "load / (read + inflate)", 0.7);
}

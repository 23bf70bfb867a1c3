// Loading the largest fourth-game level against its floor: reading the file and inflating its
// four chunks with zlib. Prints the ratio of the two; the target is at most 1.3.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "level/load_level.h"

namespace {

std::filesystem::path LargestTr4() {
  std::filesystem::path best;
  std::uintmax_t bestSize = 0;
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::path(SLAB_LEVELS_DIR) / "tr4";
  if (!std::filesystem::is_directory(dir, ec)) return best;
  for (auto& entry : std::filesystem::directory_iterator(dir)) {
    auto ext = entry.path().extension().string();
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext != ".tr4" || entry.file_size() <= bestSize) continue;
    best = entry.path();
    bestSize = entry.file_size();
  }
  return best;
}

const std::filesystem::path& LevelPath() {
  static const std::filesystem::path path = LargestTr4();
  return path;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(0, std::ios::end);
  std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

void BM_ReadAndInflate(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  for (auto _ : state) {
    auto bytes = ReadFile(LevelPath());
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
    int gameVersion = 0;
    auto result = slab::LoadLevel(LevelPath(), gameVersion, messages);
    if (!result.Loaded) return state.SkipWithError("the level did not load");
    benchmark::DoNotOptimize(result.Lvl.Rooms.data());
  }
}

BENCHMARK(BM_ReadAndInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's mean real time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        times[run.run_name.function_name] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("level: %s\n", LevelPath().string().c_str());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  auto load = reporter.times.find("BM_LoadLevel");
  auto floor = reporter.times.find("BM_ReadAndInflate");
  if (load != reporter.times.end() && floor != reporter.times.end() && floor->second > 0)
    std::printf("load / (read + inflate) = %.3f (target at most 1.3)\n",
                load->second / floor->second);
  return 0;
}

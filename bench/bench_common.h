// What the benchmarks share: finding the largest real level of some games, reading a file,
// and printing the ratio of two benchmarks measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace slab::bench {

// The largest file under the real-levels folder's subfolders (e.g. {"tr2", "tr3"}).
inline std::filesystem::path LargestLevel(const std::vector<std::string>& folders) {
  std::filesystem::path best;
  std::uintmax_t bestSize = 0;
  std::error_code ec;
  for (const auto& folder : folders) {
    auto dir = std::filesystem::path(SLAB_LEVELS_DIR) / folder;
    if (!std::filesystem::is_directory(dir, ec)) continue;
    for (auto& entry : std::filesystem::directory_iterator(dir)) {
      if (!entry.is_regular_file() || entry.file_size() <= bestSize) continue;
      best = entry.path();
      bestSize = entry.file_size();
    }
  }
  return best;
}

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(0, std::ios::end);
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0)));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// Keeps each benchmark's real time per iteration for the ratio.
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

// Runs the registered benchmarks and prints measured / baseline against its target.
inline int RunWithRatio(int argc, char** argv, const std::string& measured,
                        const std::string& baseline, const char* label, double target) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  auto m = reporter.times.find(measured);
  auto b = reporter.times.find(baseline);
  if (m != reporter.times.end() && b != reporter.times.end() && b->second > 0)
    std::printf("%s = %.3f (target at most %.2f)\n", label, m->second / b->second, target);
  return 0;
}

}  // namespace slab::bench

// Saving the largest second- or third-game level against writing as many bytes in one write.
#include <unistd.h>

#include "bench/bench_common.h"
#include "level/load_level.h"
#include "write/write_level.h"

namespace {

struct Fixture {
  slab::Level level;
  slab::Game gameVersion = slab::Game::None;
  std::vector<uint8_t> bytes;
  std::filesystem::path out;
};

const Fixture& Loaded() {
  static const Fixture fixture = [] {
    Fixture f;
    auto path = slab::bench::LargestLevel({"tr2", "tr3"});
    if (path.empty()) return f;
    std::printf("level: %s\n", path.string().c_str());
    slab::RecordingSink messages;
    slab::LoadResult loaded = slab::LoadLevel(path, messages);
    f.level = std::move(loaded.Lvl);
    f.gameVersion = loaded.DetectedGame.value_or(f.gameVersion);
    f.bytes = slab::bench::ReadFile(path);
    f.out = std::filesystem::temp_directory_path() /
            ("slab_bench_save_" + std::to_string(::getpid()) + ".tr2");
    return f;
  }();
  return fixture;
}

void BM_OneWrite(benchmark::State& state) {
  const Fixture& f = Loaded();
  if (f.bytes.empty()) return state.SkipWithError("no second- or third-game level found");
  for (auto _ : state) {
    std::ofstream out(f.out, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(f.bytes.data()),
              static_cast<std::streamsize>(f.bytes.size()));
  }
}

void BM_SaveLevel(benchmark::State& state) {
  const Fixture& f = Loaded();
  if (f.bytes.empty()) return state.SkipWithError("no second- or third-game level found");
  for (auto _ : state) {
    auto saved = slab::SaveFileAtomically(f.out, slab::EncodeClassicLevel(f.level, f.gameVersion));
    if (!saved.Ok()) return state.SkipWithError(saved.Reason().c_str());
  }
}

BENCHMARK(BM_OneWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLevel)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  int status = slab::bench::RunWithRatio(argc, argv, "BM_SaveLevel", "BM_OneWrite",
                                         "save / one write", 2.0);
  std::error_code ec;
  std::filesystem::remove(Loaded().out, ec);
  return status;
}

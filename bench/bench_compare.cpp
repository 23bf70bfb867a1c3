// Comparing the largest real level with an edited copy of itself, both read from their files,
// against reading the two files into levels alone. Prints the ratio; the target is under 2.
#include <unistd.h>

#include <fstream>

#include "bench/bench_common.h"
#include "compare/level_diff.h"
#include "level/load_level.h"
#include "write/finish_tr4.h"
#include "write/write_level.h"

namespace {

struct Files {
  std::filesystem::path Original, Edited;
  ~Files() {
    std::error_code ec;
    if (!Edited.empty()) std::filesystem::remove(Edited, ec);
  }
};

// The edits a session makes: an item moved, one removed from the middle (its successors'
// triggers now name others), one added, a sector walled.
void Edit(slab::Level& level) {
  if (!level.Items.empty()) {
    level.Items.front().X += slab::kSectorUnits;
    level.Items.push_back(level.Items.front());
    level.Items.erase(level.Items.begin() + static_cast<ptrdiff_t>(level.Items.size() / 2));
  }
  for (slab::Room& room : level.Rooms)
    if (room.NumXSectors > 2 && room.NumZSectors > 2) {
      room.SectorAt(1, 1).Floor = room.SectorAt(1, 1).Ceiling = 0x81;
      break;
    }
}

const Files& Prepared() {
  static const Files files = [] {
    Files f;
    // Levels the program saves: the fifth game's are read only.
    const auto path = slab::bench::LargestLevel({"tr1", "tr2", "tr3", "tr4"});
    if (path.empty()) return f;
    slab::RecordingSink messages;
    slab::LoadResult loaded = slab::LoadLevel(path, messages);
    if (!loaded.Loaded) return f;
    const slab::Game game = loaded.DetectedGame.value_or(slab::Game::None);
    Edit(loaded.Lvl);
    std::vector<uint8_t> bytes;
    if (game == slab::Game::TR4) {
      if (!slab::FinishTR4(slab::EncodeTR4Intermediate(loaded.Lvl), bytes).Ok()) return f;
    } else {
      bytes = slab::EncodeClassicLevel(loaded.Lvl, game);
    }
    f.Original = path;
    f.Edited = std::filesystem::temp_directory_path() /
               ("slab_bench_compare_" + std::to_string(::getpid()) + path.extension().string());
    std::ofstream(f.Edited, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return f;
  }();
  return files;
}

void BM_LoadBoth(benchmark::State& state) {
  const Files& f = Prepared();
  if (f.Edited.empty()) return state.SkipWithError("no real level to edit and save");
  slab::RecordingSink messages;
  for (auto _ : state) {
    auto a = slab::LoadLevel(f.Original, messages);
    auto b = slab::LoadLevel(f.Edited, messages);
    benchmark::DoNotOptimize(a.Lvl.Rooms.data());
    benchmark::DoNotOptimize(b.Lvl.Rooms.data());
  }
}

void BM_LoadBothAndCompare(benchmark::State& state) {
  const Files& f = Prepared();
  if (f.Edited.empty()) return state.SkipWithError("no real level to edit and save");
  slab::RecordingSink messages;
  const slab::ObjectNames names;
  size_t changes = 0;
  for (auto _ : state) {
    auto a = slab::LoadLevel(f.Original, messages);
    auto b = slab::LoadLevel(f.Edited, messages);
    const slab::LevelDiff diff =
        slab::CompareLevels(a.Lvl, a.DetectedGame.value_or(slab::Game::None), b.Lvl,
                            b.DetectedGame.value_or(slab::Game::None), names);
    changes = diff.Changes.size();
    benchmark::DoNotOptimize(diff.Changes.data());
  }
  state.counters["changes"] = static_cast<double>(changes);
}

BENCHMARK(BM_LoadBoth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBothAndCompare)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::printf("level: %s\n", Prepared().Original.string().c_str());
  return slab::bench::RunWithRatio(argc, argv, "BM_LoadBothAndCompare", "BM_LoadBoth",
                                   "(load both + compare) / load both", 2.0);
}

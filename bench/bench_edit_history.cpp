// What an undo step costs on the largest fourth-game level: the bytes one edit of each kind
// keeps (its counter "bytes") against keeping a copy of the level, which a snapshot history
// would need; and the time to make, undo and redo an edit against copying the level.
#include <benchmark/benchmark.h>

#include "bench/bench_common.h"
#include "level/load_level.h"
#include "map/edit_commands.h"
#include "map/selection.h"

namespace {

struct Opened {
  slab::Document doc;
  slab::MapState state;
  slab::EditHistory history;
  slab::RecordingSink messages;
  bool ok = false;
  Opened() {
    const auto path = slab::bench::LargestLevel({"tr4"});
    if (path.empty()) return;
    slab::LoadResult result = slab::LoadLevel(path, messages);
    doc.GameVersion = result.DetectedGame.value_or(doc.GameVersion);
    doc.CurrentLevel = std::move(result.Lvl);
    doc.LevelLoaded = ok = result.Loaded && !doc.CurrentLevel.Items.empty();
    if (!ok) return;
    // The first item's room and sector, the item chosen.
    const slab::Item& item = doc.CurrentLevel.Items[0];
    slab::ChooseRoom(doc, state, item.Room);
    const slab::Room& room = doc.CurrentLevel.Rooms[static_cast<size_t>(item.Room)];
    state.SelectedSectorX = (item.X - room.Info.X) / slab::kSectorUnits;
    state.SelectedSectorZ = (item.Z - room.Info.Z) / slab::kSectorUnits;
    slab::DrawSelection(state);
    state.SelectedEntity = 0;
  }
};

Opened& Level() {
  static Opened opened;
  return opened;
}

void BM_CopyLevel(benchmark::State& state) {
  if (!Level().ok) return state.SkipWithError("no fourth-game level found");
  for (auto _ : state) {
    slab::Level copy = Level().doc.CurrentLevel;
    benchmark::DoNotOptimize(copy.Rooms.data());
  }
  const slab::Level& level = Level().doc.CurrentLevel;
  size_t bytes = level.FloorData.size() + level.Textile32.size() * 4 + level.Items.size() * 24;
  for (const slab::Room& room : level.Rooms)
    bytes += room.Sectors.size() * sizeof(slab::Sector) +
             room.Vertices.size() * sizeof(room.Vertices[0]);
  state.counters["bytes"] = static_cast<double>(bytes);  // a lower bound: the big lists only
}

// One edit of a kind made, undone and redone; "bytes" is what the history keeps for it.
template <typename Command>
void EditUndoRedo(benchmark::State& state, Command command) {
  if (!Level().ok) return state.SkipWithError("no fourth-game level found");
  Opened& o = Level();
  size_t bytes = 0;
  for (auto _ : state) {
    o.history.Clear();
    const slab::CommandOutcome done = command(o);
    if (!done) return state.SkipWithError(done.Status.c_str());
    bytes = slab::EditBytes(*done.Done);
    slab::UndoCommand(o.doc, o.state, o.history);
    slab::RedoCommand(o.doc, o.state, o.history);
    slab::UndoCommand(o.doc, o.state, o.history);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_MoveItem(benchmark::State& state) {
  EditUndoRedo(state, [](Opened& o) {
    return slab::MoveCommand(o.doc, o.state, o.history, slab::MoveKey::PageUp);
  });
}
void BM_Minecart(benchmark::State& state) {
  EditUndoRedo(state, [](Opened& o) {
    return slab::MinecartCommand(o.doc, o.state, o.history, slab::MinecartMode::Stop,
                                 o.messages);
  });
}
void BM_AddItem(benchmark::State& state) {
  EditUndoRedo(state, [](Opened& o) { return slab::AddItemCommand(o.doc, o.state, o.history); });
}

BENCHMARK(BM_CopyLevel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveItem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Minecart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddItem)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return slab::bench::RunWithRatio(argc, argv, "BM_Minecart", "BM_CopyLevel",
                                   "minecart edit, undo, redo, undo / copying the level", 1.0);
}

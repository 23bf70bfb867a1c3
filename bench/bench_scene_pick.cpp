// One pick in the main window's 3D view on the room with the most faces of the largest real
// level, with its items and static meshes, against the frame budget of 10 ms: a pick runs on
// a click and on every pointer move, so it must fit in a frame. Prints the ratio of a pick to
// a 10 ms sleep (the budget as measured here); the target is at most 1.
#include <chrono>
#include <thread>

#include "bench/bench_common.h"
#include "level/load_level.h"
#include "preview3d/room_framing.h"
#include "preview3d/scene_pick.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

struct Scene {
  slab::LoadResult Loaded;
  slab::Game GameVersion = slab::Game::None;
  std::vector<slab::MeshFaceList> Statics;
  slab::ItemFaces Items;
  std::vector<int> Rooms;
  slab::OrbitCamera Camera;
  size_t Faces = 0;
};

const Scene& TheScene() {
  static const Scene scene = [] {
    Scene s;
    const auto path = slab::bench::LargestLevel({"tr1", "tr2", "tr3", "tr4", "tr5"});
    if (path.empty()) return s;
    slab::RecordingSink messages;
    s.Loaded = slab::LoadLevel(path, messages);
    s.GameVersion = s.Loaded.DetectedGame.value_or(s.GameVersion);
    const slab::Level& level = s.Loaded.Lvl;
    if (level.Rooms.empty()) return s;
    size_t room = 0;
    for (size_t r = 0; r < level.Rooms.size(); ++r) {
      const size_t faces = level.Rooms[r].Rectangles.size() + level.Rooms[r].Triangles.size();
      if (faces > s.Faces) s.Faces = faces, room = r;
    }
    s.Rooms = {static_cast<int>(room)};
    s.Statics = slab::BuildStaticMeshes(level, s.Loaded.TextureTiles, s.GameVersion, messages);
    const auto moveables =
        slab::BuildMoveableMeshes(level, s.Loaded.TextureTiles, s.GameVersion, messages);
    s.Items = slab::BuildItemFaces(level, moveables, s.Rooms, s.GameVersion, level.NumTextiles);
    slab::FrameRoom(s.Camera, level, s.Rooms[0], static_cast<double>(kWidth) / kHeight);
    std::printf("level: %s, room %zu: %zu room faces, %zu static placements, %zu item faces\n",
                path.string().c_str(), room, s.Faces, level.Rooms[room].StaticMeshes.size(),
                s.Items.Faces.size());
    return s;
  }();
  return scene;
}

void BM_FrameBudget(benchmark::State& state) {
  for (auto _ : state) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// One pick, at points spread over the view in turn.
void BM_Pick(benchmark::State& state) {
  const Scene& s = TheScene();
  if (s.Rooms.empty()) return state.SkipWithError("no real level with rooms found");
  const slab::PickScene scene{&s.Loaded.Lvl, s.Rooms[0], s.Rooms, s.Statics, &s.Items};
  int step = 0;
  for (auto _ : state) {
    const double x = (step % 16 + 0.5) * kWidth / 16, y = (step / 16 % 12 + 0.5) * kHeight / 12;
    ++step;
    benchmark::DoNotOptimize(slab::PickInScene(s.Camera, scene, kWidth, kHeight, x, y));
  }
}

BENCHMARK(BM_FrameBudget)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return slab::bench::RunWithRatio(argc, argv, "BM_Pick", "BM_FrameBudget", "pick / 10 ms frame",
                                   1.0);
}

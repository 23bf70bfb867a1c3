// One frame of the main window's 3D view on the largest real level: the whole level with the
// rooms culled by the view, against the current room alone, on the same device and from the
// same camera (each room framed as the view first frames it). Frames cycle through every room
// where culling leaves fewer than 40 rooms, the case the whole-level frame must stay within
// twice the single room's; the same over every room is printed too. And one pick in the whole
// level against the 10 ms frame budget. Needs a display: run under xvfb-run -a.
#include <QGuiApplication>
#include <QOpenGLFunctions>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "bench/bench_common.h"
#include "bench/bench_gl.h"
#include "level/load_level.h"
#include "preview3d/camera_moves.h"
#include "preview3d/gl/scene_renderer.h"
#include "preview3d/level_batches.h"
#include "preview3d/room_culling.h"
#include "preview3d/room_framing.h"
#include "preview3d/scene_pick.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr size_t kFewRooms = 40;

struct Fixture {
  slab::LoadResult Loaded;
  slab::Game Version = slab::Game::None;
  slab::bench::OffscreenGl Gl;
  slab::SceneRenderer Renderer;
  std::vector<slab::MeshFaceList> Statics;
  slab::ItemFaces Items;
  // Per room: the camera the view frames it with, and the rooms culling leaves.
  std::vector<slab::OrbitCamera> Cameras;
  std::vector<std::vector<int>> InView;
  std::vector<int> FewRooms, AllRooms;
};
Fixture* fixture = nullptr;

slab::Mat4 ViewProjection(const slab::OrbitCamera& camera) {
  return slab::Multiply(
      slab::OrbitViewMatrix(camera),
      slab::ProjectionMatrix(slab::kNearPlane, slab::kFarPlane, slab::kFieldOfView,
                             static_cast<float>(kWidth) / kHeight));
}

slab::Vec3 Eye(const slab::OrbitCamera& camera) {
  return {static_cast<float>(camera.EyeX), static_cast<float>(camera.EyeY),
          static_cast<float>(camera.EyeZ)};
}

void DrawFrame(benchmark::State& state, const std::vector<int>& rooms, bool whole) {
  if (fixture == nullptr || rooms.empty()) return state.SkipWithError("no level or no device");
  Fixture& f = *fixture;
  auto* gl = f.Gl.Context->functions();
  const slab::Level& level = f.Loaded.Lvl;
  size_t next = 0, drawn = 0;
  for (auto _ : state) {
    const int room = rooms[next++ % rooms.size()];
    const slab::OrbitCamera& camera = f.Cameras[static_cast<size_t>(room)];
    f.Renderer.BeginFrame(kWidth, kHeight, slab::OrbitViewMatrix(camera));
    // As the view draws: each room (faces and placed statics) in the culling's order.
    const std::vector<int> shown =
        whole ? slab::RoomsInView(level, room, false, ViewProjection(camera), Eye(camera))
              : std::vector<int>{room};
    for (const int r : shown) f.Renderer.DrawRoom(r);
    drawn += shown.size();
    gl->glFinish();
  }
  state.counters["rooms drawn"] =
      static_cast<double>(drawn) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
}

void BM_WholeLevelFewRooms(benchmark::State& state) {
  DrawFrame(state, fixture ? fixture->FewRooms : std::vector<int>{}, true);
}
void BM_OneRoomFewRooms(benchmark::State& state) {
  DrawFrame(state, fixture ? fixture->FewRooms : std::vector<int>{}, false);
}
void BM_WholeLevelEveryRoom(benchmark::State& state) {
  DrawFrame(state, fixture ? fixture->AllRooms : std::vector<int>{}, true);
}
void BM_OneRoomEveryRoom(benchmark::State& state) {
  DrawFrame(state, fixture ? fixture->AllRooms : std::vector<int>{}, false);
}

void BM_FrameBudget(benchmark::State& state) {
  for (auto _ : state) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// A pick among every room the view draws and the whole level's items, at points spread over
// the view, from each room's camera in turn.
void BM_PickWholeLevel(benchmark::State& state) {
  if (fixture == nullptr) return state.SkipWithError("no level");
  const Fixture& f = *fixture;
  int step = 0;
  for (auto _ : state) {
    const auto room =
        static_cast<size_t>(f.AllRooms[static_cast<size_t>(step) % f.AllRooms.size()]);
    const slab::PickScene scene{&f.Loaded.Lvl, static_cast<int>(room), f.InView[room], f.Statics,
                                &f.Items};
    const double x = (step % 16 + 0.5) * kWidth / 16, y = (step / 16 % 12 + 0.5) * kHeight / 12;
    ++step;
    benchmark::DoNotOptimize(slab::PickInScene(f.Cameras[room], scene, kWidth, kHeight, x, y));
  }
}

BENCHMARK(BM_WholeLevelFewRooms)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneRoomFewRooms)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeLevelEveryRoom)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneRoomEveryRoom)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameBudget)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PickWholeLevel)->Unit(benchmark::kMillisecond)->UseRealTime();

bool SetUp(Fixture& f) {
  const auto path = slab::bench::LargestLevel({"tr1", "tr2", "tr3", "tr4", "tr5"});
  if (path.empty() || std::getenv("DISPLAY") == nullptr) return false;
  slab::RecordingSink sink;
  f.Loaded = slab::LoadLevel(path, sink);
  f.Version = f.Loaded.DetectedGame.value_or(f.Version);
  const slab::Level& level = f.Loaded.Lvl;
  if (level.Rooms.empty()) return false;
  std::string error;
  if (!f.Gl.Make(kWidth, kHeight)) return false;
  if (!f.Renderer.Initialise(error)) return false;
  f.Renderer.SetPages(slab::BuildTextureStrip(level, f.Version, slab::TexelRules::MainWindow));
  f.Statics = slab::BuildStaticMeshes(level, f.Loaded.TextureTiles, f.Version, sink);
  f.Renderer.SetStaticMeshes(f.Statics);
  f.Renderer.SetRoomCount(level.Rooms.size());
  const auto moveables = slab::BuildMoveableMeshes(level, f.Loaded.TextureTiles, f.Version, sink);
  f.Items = slab::BuildItemFaces(level, moveables, slab::LevelRooms(level, 0, false), f.Version,
                                 level.NumTextiles);
  for (size_t r = 0; r < level.Rooms.size(); ++r)
    f.Renderer.SetRoomBatches(static_cast<int>(r),
                              slab::RoomBatches(level, f.Loaded.TextureTiles, static_cast<int>(r),
                                                slab::kNoSectorSelected, 0xC000C0, f.Statics));
  f.Cameras.resize(level.Rooms.size());
  f.InView.resize(level.Rooms.size());
  for (const int r : slab::LevelRooms(level, -1, false)) {
    slab::OrbitCamera& camera = f.Cameras[static_cast<size_t>(r)];
    const double aspect = static_cast<double>(kWidth) / kHeight;
    if (!slab::FrameRoom(camera, level, r, aspect)) continue;
    slab::FrameWholeRoom(camera, level, r, aspect);
    f.InView[static_cast<size_t>(r)] =
        slab::RoomsInView(level, r, false, ViewProjection(camera), Eye(camera));
    f.AllRooms.push_back(r);
    if (f.InView[static_cast<size_t>(r)].size() < kFewRooms) f.FewRooms.push_back(r);
  }
  std::printf("level: %s, %zu rooms; culling leaves fewer than %zu rooms for %zu of them\n",
              path.string().c_str(), level.Rooms.size(), kFewRooms, f.FewRooms.size());
  return !f.AllRooms.empty();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::unique_ptr<QGuiApplication> app;
  Fixture f;
  if (std::getenv("DISPLAY") != nullptr) {
    app = std::make_unique<QGuiApplication>(argc, argv);
    if (SetUp(f)) fixture = &f;
  }
  if (fixture == nullptr)
    std::fprintf(stderr, "bench_level_frame: needs the real levels and a display (xvfb-run -a)\n");
  slab::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  auto ratio = [&](const char* measured, const char* baseline, const char* label, double target) {
    const auto m = reporter.times.find(measured), b = reporter.times.find(baseline);
    if (m != reporter.times.end() && b != reporter.times.end() && b->second > 0)
      std::printf(target > 0 ? "%s = %.3f (target at most %.2f)\n" : "%s = %.3f\n", label,
                  m->second / b->second, target);
  };
  ratio("BM_WholeLevelFewRooms", "BM_OneRoomFewRooms",
        "whole-level frame / one-room frame, fewer than 40 rooms in view", 2.0);
  ratio("BM_WholeLevelEveryRoom", "BM_OneRoomEveryRoom",
        "whole-level frame / one-room frame, every room", 0);
  ratio("BM_PickWholeLevel", "BM_FrameBudget", "whole-level pick / 10 ms frame", 1.0);
  return 0;
}

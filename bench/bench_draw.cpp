// Drawing the largest real level's whole face list batched by page and pass against one draw
// call per face, offscreen through the OpenGL device (Mesa); and converting all its texture
// pages against copying the same bytes. Needs a display: run under xvfb-run -a.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "bench/bench_gl.h"
#include "level/load_level.h"
#include "preview3d/face_batches.h"
#include "preview3d/gl/gl_device.h"
#include "preview3d/texels.h"
#include "preview3d/viewer_camera.h"

namespace {

struct Fixture {
  slab::LoadResult Loaded;
  slab::Game Version = slab::Game::None;
  std::string Name;
  slab::bench::OffscreenGl Gl;
  slab::GlDevice Device;
  slab::GpuGeometry Batched, FaceByFace;
  size_t Faces = 0;
};

Fixture* fixture = nullptr;

std::filesystem::path LargestLevel() {
  std::filesystem::path best;
  uintmax_t size = 0;
  const std::filesystem::path dir = SLAB_LEVELS_DIR;
  if (!std::filesystem::exists(dir)) return best;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    const auto ext = entry.path().extension().string();
    if (!entry.is_regular_file() || ext == ".json" || ext == ".md" || ext == ".tsv") continue;
    if (entry.file_size() > size) {
      slab::RecordingSink sink;
      if (!slab::LoadLevel(entry.path(), sink).Loaded) continue;
      size = entry.file_size();
      best = entry.path();
    }
  }
  return best;
}

void Draw(benchmark::State& state, bool batched) {
  if (fixture == nullptr) {
    state.SkipWithError("no level or no OpenGL context");
    return;
  }
  auto* gl = fixture->Gl.Context->functions();
  const auto& geometry = batched ? fixture->Batched : fixture->FaceByFace;
  slab::ViewCamera camera = slab::StartCamera(fixture->Loaded.Lvl);
  for (auto _ : state) {
    fixture->Device.ClearFrame();
    fixture->Device.SetViewProjection(
        slab::ViewerViewMatrix(camera),
        slab::ProjectionMatrix(slab::kNearPlane, slab::kFarPlane, slab::kFieldOfView, 1));
    if (batched)
      fixture->Device.Draw(geometry, slab::Identity());
    else
      fixture->Device.DrawFaceByFace(geometry, slab::Identity());
    gl->glFinish();
  }
  state.SetLabel(fixture->Name + ", " + std::to_string(fixture->Faces) + " faces");
}

void BM_DrawBatched(benchmark::State& state) { Draw(state, true); }
void BM_DrawOneCallPerFace(benchmark::State& state) { Draw(state, false); }

void BM_ConvertPages(benchmark::State& state) {
  if (fixture == nullptr) {
    state.SkipWithError("no level");
    return;
  }
  for (auto _ : state) {
    auto strip = slab::BuildTextureStrip(fixture->Loaded.Lvl, fixture->Version,
                                         slab::TexelRules::MainWindow);
    benchmark::DoNotOptimize(strip.Texels.data());
  }
}

// The baseline: the converted strip's bytes copied from the level's texel list.
void BM_CopySameBytes(benchmark::State& state) {
  if (fixture == nullptr) {
    state.SkipWithError("no level");
    return;
  }
  const slab::Level& level = fixture->Loaded.Lvl;
  const size_t bytes = static_cast<size_t>(slab::ConvertiblePageCount(level, fixture->Version)) *
                       slab::kPagePixels * sizeof(slab::Rgba);
  std::vector<uint8_t> source(bytes, 1);
  for (auto _ : state) {
    std::vector<uint8_t> copy(bytes);
    std::memcpy(copy.data(), source.data(), bytes);
    benchmark::DoNotOptimize(copy.data());
  }
}

BENCHMARK(BM_DrawBatched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawOneCallPerFace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertPages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopySameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::unique_ptr<QGuiApplication> app;
  Fixture f;
  const auto path = LargestLevel();
  if (!path.empty() && std::getenv("DISPLAY") != nullptr) {
    app = std::make_unique<QGuiApplication>(argc, argv);
    slab::RecordingSink sink;
    f.Loaded = slab::LoadLevel(path, sink);
    f.Version = f.Loaded.DetectedGame.value_or(f.Version);
    f.Name = path.filename().string();
    std::string error;
    if (f.Gl.Make(400, 400)) {
      if (f.Device.Initialise(error)) {
        f.Device.SetViewport(400, 400);
        f.Device.SetPages(
            slab::BuildTextureStrip(f.Loaded.Lvl, f.Version, slab::TexelRules::MainWindow));
        slab::RoomFaceList list;
        for (size_t r = 0; r < f.Loaded.Lvl.Rooms.size(); ++r)
          slab::BuildRoomFaces(f.Loaded.Lvl, f.Loaded.TextureTiles, static_cast<int>(r), {}, list);
        f.Faces = list.Faces.size();
        f.Device.Upload(slab::BatchRoomFaces(f.Loaded.Lvl, list), f.Batched);
        f.Device.Upload(slab::OneBatchPerFace(f.Loaded.Lvl, list), f.FaceByFace);
        fixture = &f;
      }
    }
    if (fixture == nullptr)
      std::fprintf(stderr, "bench_draw: no OpenGL 3.3 device %s\n", error.c_str());
  } else {
    std::fprintf(stderr, "bench_draw: needs the real levels and a display (xvfb-run -a)\n");
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (fixture != nullptr) {
    f.Device.Release(f.Batched);
    f.Device.Release(f.FaceByFace);
  }
  return 0;
}

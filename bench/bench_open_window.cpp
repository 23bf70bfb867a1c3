// Opening the largest fourth-game level in the main window up to its first complete frame,
// against LoadLevel on the same file; and one zoom step with its repaint and one hover text on
// the largest room of that level. Runs on the display it is given (offscreen when none), with
// the 3D view wherever OpenGL is there.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QStyleFactory>
#include <QTimer>
#include <QTimerEvent>
#include <algorithm>
#include <memory>

#include "app/main_window.h"
#include "app/sector_map_widget.h"
#include "bench/bench_common.h"
#include "level/load_level.h"
#include "map/sector_tooltip.h"
#include "preview3d/gl/room3d_view.h"

namespace {

const std::filesystem::path& LevelPath() {
  static const std::filesystem::path path = slab::bench::LargestLevel({"tr4"});
  return path;
}

struct Window {
  slab::RecordingSink messages;
  slab::NoFileDialog files;
  slab::NoProcessRunner processes;
  slab::TestKeyboard keyboard;
  slab::ManualTickClock clock;
  std::unique_ptr<slab::MainWindow> window;
  slab::Room3DView* view3d = nullptr;  // none on the offscreen platform
  QTimer* frameTimer = nullptr;
  int64_t now = 1000;
  Window() {
    const bool gl = QGuiApplication::platformName() != "offscreen";
    window = std::make_unique<slab::MainWindow>(
        slab::WindowServices{messages, files, processes, keyboard, clock, SLAB_BIN_DIR, gl});
    window->resize(1400, 900);
    window->show();
    QApplication::processEvents();
    view3d = window->findChild<slab::Room3DView*>("View3D");
    frameTimer = window->findChild<QTimer*>("FrameTimer");
  }
  // Open and draw the first frame (the 3D view's, or the overview's): the frame timer's next
  // pass, as the event loop would deliver it.
  void OpenAndDraw() {
    window->OpenLevel(LevelPath().string(), "level.tr4");
    clock.Now = now += 100;
    QTimerEvent pass(frameTimer->timerId());
    QCoreApplication::sendEvent(frameTimer, &pass);
    if (view3d != nullptr) view3d->grabFramebuffer();
  }
};

// Made on first use and closed before the application ends.
std::unique_ptr<Window>& WindowSlot() {
  static std::unique_ptr<Window> window;
  return window;
}
Window& TheWindow() {
  if (!WindowSlot()) WindowSlot() = std::make_unique<Window>();
  return *WindowSlot();
}

void BM_LoadLevel(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  slab::RecordingSink messages;
  for (auto _ : state) {
    benchmark::DoNotOptimize(slab::LoadLevel(LevelPath(), messages).Loaded);
  }
}

void BM_OpenToFirstFrame(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  Window& w = TheWindow();
  for (auto _ : state) w.OpenAndDraw();
  // What was timed must be a frame of the room, not an empty view.
  if (auto* view = w.view3d) {
    const QImage frame = view->grabFramebuffer();
    int64_t clear = 0;
    for (int y = 0; y < frame.height(); ++y)
      for (int x = 0; x < frame.width(); ++x) clear += frame.pixel(x, y) == qRgb(0, 0, 255);
    state.counters["clear_share"] =
        static_cast<double>(clear) / std::max(1, frame.width() * frame.height());
  }
}

// The largest room: one zoom step and the map drawn again, then one hover text.
int LargestRoom(const slab::Level& level) {
  int best = 0;
  for (size_t r = 0; r < level.Rooms.size(); ++r)
    if (level.Rooms[r].Sectors.size() > level.Rooms[static_cast<size_t>(best)].Sectors.size())
      best = static_cast<int>(r);
  return best;
}

void BM_ZoomOnLargestRoom(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  Window& w = TheWindow();
  w.OpenAndDraw();
  const int room = LargestRoom(w.window->Doc().CurrentLevel);
  w.window->findChild<QListWidget*>("RoomNumber")->setCurrentRow(room);
  auto* map = w.window->findChild<slab::RoomMapWidget*>("RoomMap");
  int step = 1;
  for (auto _ : state) {
    map->ZoomBy(step);
    map->repaint();
    step = -step;
  }
}

void BM_HoverOnLargestRoom(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  Window& w = TheWindow();
  const slab::Document& doc = w.window->Doc();
  const int room = LargestRoom(doc.CurrentLevel);
  const slab::ObjectNames names;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        slab::SectorTooltip(doc.CurrentLevel, doc.GameVersion, names, room, 2, 2));
}

void BM_OpenOnly(benchmark::State& state) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  Window& w = TheWindow();
  for (auto _ : state) w.window->OpenLevel(LevelPath().string(), "level.tr4");
}

BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenToFirstFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomOnLargestRoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverOnLargestRoom)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  const int result = slab::bench::RunWithRatio(argc, argv, "BM_OpenToFirstFrame", "BM_LoadLevel",
                                               "open to first frame / LoadLevel", 2.0);
  WindowSlot().reset();
  return result;
}

// Writes a PNG picture of the main window with a level open and one sector clicked: the
// README's screenshot, made by the program's own window rather than by a screen grabber. The
// window is shown as a user sees it after Open and one plain click; nothing else is set up.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window.h"
#include "app/sector_map_widget.h"
#include "floordata/object_names.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/tick_clock.h"
#include "preview3d/gl/room3d_view.h"

namespace {

void Wait(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(
        stderr,
        "usage: window_screenshot PROGRAM_FOLDER LEVEL OUTPUT.png [A B [2d|3d [ACTION...]]]\n"
        "  ACTION: a menu entry's name to choose before the picture (Mnu_View_Legend), or\n"
        "          key:KEY, a key pressed in the 3D view (key:PgDown)\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  const std::string folder = argv[1], level = argv[2];
  slab::StderrSink messages;
  slab::NoFileDialog files;
  slab::SystemProcessRunner processes;
  slab::SteadyTickClock clock;
  slab::TestKeyboard keyboard;
  const QString platform = QGuiApplication::platformName();
  slab::MainWindow window(slab::WindowServices{messages, files, processes, keyboard, clock, folder,
                                               platform != "offscreen"});
  window.SetObjectNames(slab::LoadObjectNames(folder, messages));
  window.resize(1400, 900);
  window.show();
  Wait(300);
  window.OpenLevel(level, QFileInfo(QString::fromStdString(level)).fileName().toStdString());
  Wait(300);
  // One plain left click on sector (A, B), as the user's mouse gives it.
  auto* map = window.findChild<slab::RoomMapWidget*>("RoomMap");
  if (argc >= 6 && map != nullptr) {
    const QPointF at =
        map->WidgetPoint(QPoint(10 * std::atoi(argv[5]) + 5, 10 * std::atoi(argv[4]) + 5));
    QMouseEvent press(QEvent::MouseButtonPress, at, map->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, map->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(map, &press);
    QApplication::sendEvent(map, &release);
  }
  if (argc >= 7 && std::string(argv[6]) == "2d") {
    if (auto* button = window.findChild<QPushButton*>("ViewMode")) button->click();
  }
  Wait(500);  // the 3D view's glide to the clicked sector ends
  for (int i = 7; i < argc; ++i) {
    const QString name = QString::fromLocal8Bit(argv[i]);
    if (name.startsWith("key:")) {
      auto* view = window.findChild<QWidget*>("View3D");
      const QKeyCombination key = QKeySequence::fromString(name.mid(4))[0];
      if (view == nullptr) continue;
      QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
      QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers());
      QApplication::sendEvent(view, &press);
      QApplication::sendEvent(view, &release);
      Wait(50);
    } else if (auto* action = window.findChild<QAction*>(name)) {
      action->trigger();
    }
  }
  Wait(1500);
  if (!window.grab().save(QString::fromLocal8Bit(argv[3]), "PNG", 0)) {
    std::fprintf(stderr, "Could not write %s\n", argv[3]);
    return 1;
  }
  return 0;
}

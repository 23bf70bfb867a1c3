#include "app/start_up.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>
#include <QTimer>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/file_messages.h"
#include "app/main_window.h"
#include "app/qt_seams.h"
#include "floordata/object_names.h"
#include "level/level.h"
#include "platform/keyboard.h"
#include "platform/tick_clock.h"
#include "preview3d/gl/level_view.h"
#include "shell/desktop_entries.h"
#include "shell/registry.h"
#include "write/jobs.h"

namespace slab {
namespace {

constexpr char kNoDisplayMessage[] =
    "No window system is available: the main window and \"/view\" need a display. The jobs "
    "\"/adddemo\", \"/convert2\" and \"/convert3\" run without one.";

// The offscreen platform, when asked for explicitly, serves screenshots and tests.
bool PlatformRequested() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  return platform != nullptr && *platform != '\0';
}

// Steps of every start before the command line is looked at: the registry keys and the
// file associations, and on Linux the desktop entries, each following the program's
// current place.
void RegisterProgram(MessageSink& messages) {
  RegistryStartUp(SystemRegistry(), QCoreApplication::applicationDirPath().toStdString(), messages);
#if defined(__linux__)
  WriteDesktopEntries(QCoreApplication::applicationFilePath().toStdString());
#endif
}

int RunMainWindow(const StartCommand& command, const std::string& folder) {
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QtMessageSink messages;
  QtFileDialog files;
  SystemProcessRunner processes;
  SteadyTickClock clock;
  std::unique_ptr<KeyboardSource> keyboard = MakeSystemKeyboard();
  const QString platform = QGuiApplication::platformName();

  RegisterProgram(messages);
  MainWindow window(WindowServices{messages, files, processes, *keyboard, clock, folder,
                                   platform != "offscreen" && platform != "minimal"});
  messages.SetParent(&window);
  files.SetParent(&window);
  window.ShowPlaced();
  window.SetObjectNames(LoadObjectNames(folder, messages));
  // A keyboard that cannot be read is reported when a recording is started.
  keyboard->SetUpKeyboard();
  if (!command.OpenFile.empty()) {
    const std::string path = command.OpenFile;
    QTimer::singleShot(0, &window, [&window, path] {
      window.OpenLevel(path, QFileInfo(QString::fromStdString(path)).fileName().toStdString());
    });
  }
  return QApplication::exec();
}

}  // namespace

int RunJob(const StartCommand& command, const std::string& programFolder, MessageSink& given) {
  FileMessages messages(given, command.File);
  bool done = false;
  switch (command.Mode) {
    case StartMode::AddDemo: {
      SystemProcessRunner processes;
      done = AddDemoJob(command.File, messages, programFolder, processes);
      break;
    }
    case StartMode::Convert2:
      done = ConvertJob(command.File, Game::TR2, programFolder, messages);
      break;
    case StartMode::Convert3:
      done = ConvertJob(command.File, Game::TR3, programFolder, messages);
      break;
    case StartMode::Normal:
    case StartMode::View:
      return kJobFailed;
  }
  return done ? kJobSucceeded : kJobFailed;
}

int RunProgram(int argc, char** argv) {
  const StartCommand command = ParseCommandLine(JoinArguments(argc, argv));
  const bool windowSystem = WindowSystemAvailable();
  const bool job = command.Mode == StartMode::AddDemo || command.Mode == StartMode::Convert2 ||
                   command.Mode == StartMode::Convert3;

  if (job) {
    // Jobs need no display; with one, a job nobody watches on a terminal shows its messages
    // in a box when it is done.
    std::unique_ptr<QCoreApplication> app;
    if (windowSystem)
      app = std::make_unique<QApplication>(argc, argv);
    else
      app = std::make_unique<QCoreApplication>(argc, argv);
    JobSink messages(windowSystem && StandardErrorUnread());
    RegisterProgram(messages);
    const int status =
        RunJob(command, QCoreApplication::applicationDirPath().toStdString(), messages);
    messages.ShowKept();
    return status;
  }

  if (!windowSystem && !PlatformRequested()) {
    std::cerr << kNoDisplayMessage << '\n';
    return kJobFailed;
  }
  QApplication app(argc, argv);
  const std::string folder = QCoreApplication::applicationDirPath().toStdString();
  if (command.Mode == StartMode::View) {
    JobSink messages(WindowSystemAvailable() && StandardErrorUnread());
    RegisterProgram(messages);
    FileMessages aboutFile(messages, command.File);
    const bool shown = OpenLevelView(QString::fromStdString(command.File), aboutFile) != nullptr;
    // What reading said, over the viewer once it is up, or before the refusal's status.
    messages.ShowKept();
    if (!shown) return kFileRefused;
    return QApplication::exec();
  }
  return RunMainWindow(command, folder);
}

}  // namespace slab

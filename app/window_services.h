// What the main window reaches the platform through.
#pragma once

#include <string>

#include "platform/file_dialog.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/process_runner.h"
#include "platform/tick_clock.h"

namespace slab {

struct WindowServices {
  MessageSink& Messages;
  FileDialog& Files;
  ProcessRunner& Processes;
  KeyboardSource& Keyboard;
  TickClock& Clock;
  std::string ProgramFolder;  // where the finisher and the marker pictures are
  bool Enable3D = true;       // false: the right-hand view always shows the overview
};

}  // namespace slab

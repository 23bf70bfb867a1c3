// Demo > Start Recording and Stop Recording on the open level: a whole recording is one step
// of the history, whose undo gives back the demo the level held before.
#pragma once

#include <string>

#include "level/document.h"
#include "map/edit_history.h"
#include "shell/demo_recorder.h"

namespace slab {

// Starts a recording for the open level. Once started the level is modified (its demo is the
// recorder's now) and true comes back; otherwise `status` may say why nothing started.
bool StartDemoCommand(Document& doc, DemoRecorder& recorder, DemoDevices devices,
                      std::string& status);
// Finishes the recording into the level's demo and records the step; false when none ran.
bool StopDemoCommand(Document& doc, EditHistory& history, DemoRecorder& recorder);

}  // namespace slab

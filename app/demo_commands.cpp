#include "app/demo_commands.h"

#include <optional>
#include <utility>

#include "map/edit_commands.h"

namespace slab {

bool StartDemoCommand(Document& doc, DemoRecorder& recorder, DemoDevices devices,
                      std::string& status) {
  if (recorder.DemoRecording) return false;
  if (!doc.LevelLoaded) {
    status = kNoLevelStatus;
    return false;
  }
  if (StartDemoRecording(recorder, doc.CurrentLevel, devices) != DemoStart::Started) return false;
  doc.Modified = true;
  return true;
}

bool StopDemoCommand(Document& doc, EditHistory& history, DemoRecorder& recorder) {
  std::optional<DemoSnapshot> before = StopDemoRecording(recorder, doc.CurrentLevel);
  if (!before) return false;
  RecordDemoEdit(doc, history, before->NumDemoData, std::move(before->DemoData));
  return true;
}

}  // namespace slab

// Recording a demo for a second- or third-game level: while the game runs the same level
// in another window, the keyboard is sampled 30 times a second into the game's input masks,
// kept in the level's demo data until it is saved.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "level/level.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/tick_clock.h"

namespace slab {

// Input mask bits the game reads from a demo.
enum DemoInput : int32_t {
  kDemoUp = 0x1,
  kDemoDown = 0x2,
  kDemoLeft = 0x4,
  kDemoRight = 0x8,
  kDemoAlt = 0x10,
  kDemoSpace = 0x20,
  kDemoCtrl = 0x40,
  kDemoLook = 0x80000,
};

// The demo's length is stored in bytes in a 16-bit field: at most 8191 entries, the end
// marker included.
inline constexpr int kDemoHeaderEntries = 10;
inline constexpr int kMaxDemoEntries = 8191;
inline constexpr int kMaxDemoSamples = kMaxDemoEntries - kDemoHeaderEntries - 1;

// A level's demo as a whole: what the undo step of a recording gives back.
struct DemoSnapshot {
  int16_t NumDemoData = 0;
  std::vector<int32_t> DemoData;
};

struct DemoRecorder {
  // Started and not yet stopped; the main loop polls while it is true.
  bool DemoRecording = false;
  // Samples are being appended (TAB turns this on and off).
  bool DemoCapturing = false;
  // The keys seen down since the last sample.
  int32_t DemoMask = 0;
  // The last sample's place on the 1/30 s grid, in thirds of a millisecond.
  int64_t LastSampleTick3 = 0;
  // When TAB last toggled capturing, in milliseconds.
  int64_t LastTabTick = 0;
  // The TAB press now held has been acted on.
  bool TabPressNoticed = false;
  // The sample limit was reached; nothing more is captured until Stop.
  bool Full = false;
  // The level's demo from before the recording replaced it.
  DemoSnapshot Before;
};

// What the recorder reads and reports through.
struct DemoDevices {
  KeyboardSource& Keyboard;
  TickClock& Clock;
  MessageSink& Messages;
};

enum class DemoStart {
  Started,     // the level's demo was replaced by the start header: the level is modified
  NoLara,      // the level has no Lara item; nothing changed
  NoKeyboard,  // the keyboard cannot be read; nothing changed
};

// Replaces the level's demo by the start header taken from its first Lara item and arms the
// recorder. On Started the caller marks the document modified and stops drawing frames.
DemoStart StartDemoRecording(DemoRecorder& recorder, Level& level, DemoDevices devices);

// One look at the keyboard; called on every pass of the main loop while DemoRecording.
// `gameVersion` decides which key is the look key.
void PollDemoRecorder(DemoRecorder& recorder, Level& level, Game gameVersion, DemoDevices devices);

// Appends the end marker and turns NumDemoData from entries into bytes. Returns the demo the
// level held before the recording started, for the undo step; nothing (and no change) when no
// recording is running.
std::optional<DemoSnapshot> StopDemoRecording(DemoRecorder& recorder, Level& level);

// The level as Stop would leave it, while the recording goes on: what a save during a
// recording writes. A copy of `level` itself when nothing is being recorded.
Level FinishedDemoCopy(const DemoRecorder& recorder, const Level& level);

}  // namespace slab

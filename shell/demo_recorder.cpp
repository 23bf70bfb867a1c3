#include "shell/demo_recorder.h"

#include <algorithm>
#include <utility>

namespace slab {
namespace {

constexpr int64_t kSampleInterval3 = 100;  // 1/30 s in thirds of a millisecond
constexpr int64_t kTabInterval = 100;      // ms between two noticed TAB presses
// A loop that falls behind (a stall of the window system) makes up at most this many
// samples, repeating the keys held now, so the demo keeps pace with the game; after a
// longer stall the grid starts again from now.
constexpr int kMaxCatchUpSamples = 15;

int32_t KeysMask(const KeyboardState& keys, Game gameVersion) {
  struct KeyBit {
    uint8_t Code;
    int32_t Bit;
  };
  constexpr KeyBit kBits[] = {
      {kDikUp, kDemoUp},       {kDikDown, kDemoDown},     {kDikLeft, kDemoLeft},
      {kDikRight, kDemoRight}, {kDikLeftAlt, kDemoAlt},   {kDikRightAlt, kDemoAlt},
      {kDikSpace, kDemoSpace}, {kDikLeftCtrl, kDemoCtrl}, {kDikRightCtrl, kDemoCtrl},
  };
  int32_t mask = 0;
  for (const KeyBit& key : kBits)
    if (KeyIsDown(keys, key.Code)) mask |= key.Bit;
  // The games put their look key on different keys.
  if (gameVersion == Game::TR3 && KeyIsDown(keys, kDikComma)) mask |= kDemoLook;
  if (gameVersion == Game::TR2 && KeyIsDown(keys, kDikSlash)) mask |= kDemoLook;
  return mask;
}

void AppendEntry(Level& level, int32_t value) {
  level.DemoData.resize(static_cast<size_t>(level.NumDemoData));
  level.DemoData.push_back(value);
  level.NumDemoData = static_cast<int16_t>(level.DemoData.size());
}

}  // namespace

DemoStart StartDemoRecording(DemoRecorder& recorder, Level& level, DemoDevices devices) {
  if (level.Encrypted) {
    devices.Messages.Show(kEncryptedRefusal);
    return DemoStart::Encrypted;
  }
  auto lara = std::find_if(level.Items.begin(), level.Items.end(),
                           [](const Item& item) { return item.ObjectID == 0; });
  if (lara == level.Items.end()) {
    devices.Messages.Show(
        "This level has no Lara item (object id 0), so a demo cannot be recorded for it.");
    return DemoStart::NoLara;
  }
  if (!devices.Keyboard.SetUpKeyboard()) {
    devices.Messages.Show(devices.Keyboard.FailureText() + "\n\nDemo recording is not available.");
    return DemoStart::NoKeyboard;
  }

  recorder = DemoRecorder{};
  recorder.Before = DemoSnapshot{level.NumDemoData, std::move(level.DemoData)};
  level.DemoData = {lara->X, lara->Y, lara->Z, 0, lara->Angle, 0, lara->Room, 1, 0, 0};
  level.NumDemoData = kDemoHeaderEntries;

  int64_t now = devices.Clock.NowMs();
  recorder.DemoRecording = true;
  recorder.LastSampleTick3 = now * 3;
  recorder.LastTabTick = now;
  devices.Messages.Show(
      "Please start Tomb Raider II, load the current level and press TAB to start recording'");
  return DemoStart::Started;
}

void PollDemoRecorder(DemoRecorder& recorder, Level& level, Game gameVersion, DemoDevices devices) {
  if (!recorder.DemoRecording) return;
  int64_t now = devices.Clock.NowMs();
  KeyboardState keys{};
  devices.Keyboard.ReadKeyboard(keys);
  int32_t held = KeysMask(keys, gameVersion);

  if (recorder.DemoCapturing) recorder.DemoMask |= held;

  // Samples sit on a fixed 1/30 s grid, so the demo runs at the game's pace however often
  // the loop polls.
  int due = 0;
  while (now * 3 - recorder.LastSampleTick3 > kSampleInterval3 && due < kMaxCatchUpSamples) {
    recorder.LastSampleTick3 += kSampleInterval3;
    ++due;
  }
  if (now * 3 - recorder.LastSampleTick3 > kSampleInterval3) recorder.LastSampleTick3 = now * 3;
  for (int i = 0; i < due && recorder.DemoCapturing; ++i) {
    AppendEntry(level, i == 0 ? recorder.DemoMask : held);
    if (level.NumDemoData - kDemoHeaderEntries >= kMaxDemoSamples) {
      recorder.DemoCapturing = false;
      recorder.Full = true;
      devices.Messages.Show(
          "The demo is full (about four and a half minutes): capturing has stopped.\n\n"
          "Choose Stop Recording to finish the demo.");
    }
  }
  if (due > 0) recorder.DemoMask = 0;

  // A press toggles capturing once, however long TAB is held, and not sooner than 100 ms
  // after the last toggle.
  if (!KeyIsDown(keys, kDikTab)) {
    recorder.TabPressNoticed = false;
  } else if (!recorder.TabPressNoticed && !recorder.Full &&
             now - recorder.LastTabTick > kTabInterval) {
    recorder.TabPressNoticed = true;
    recorder.LastTabTick = now;
    recorder.DemoCapturing = !recorder.DemoCapturing;
    devices.Messages.Beep();
  }
}

namespace {

void FinishDemo(Level& level) {
  AppendEntry(level, -1);
  level.NumDemoData = static_cast<int16_t>(level.NumDemoData * 4);
}

}  // namespace

std::optional<DemoSnapshot> StopDemoRecording(DemoRecorder& recorder, Level& level) {
  if (!recorder.DemoRecording) return std::nullopt;
  recorder.DemoRecording = false;
  recorder.DemoCapturing = false;
  FinishDemo(level);
  return std::exchange(recorder.Before, DemoSnapshot{});
}

Level FinishedDemoCopy(const DemoRecorder& recorder, const Level& level) {
  Level copy = level;
  if (recorder.DemoRecording) FinishDemo(copy);
  return copy;
}

}  // namespace slab

// The whole keyboard as one state that can be read at any moment, also while another
// program has the focus (the game, during demo recording).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace slab {

// One byte per DirectInput scan code; a key is down when its byte has the high bit set.
using KeyboardState = std::array<uint8_t, 256>;

inline constexpr uint8_t kKeyDown = 0x80;

// The DirectInput scan codes the program reads by name.
inline constexpr uint8_t kDikTab = 0x0F;
inline constexpr uint8_t kDikLeftCtrl = 0x1D;
inline constexpr uint8_t kDikComma = 0x33;
inline constexpr uint8_t kDikSlash = 0x35;
inline constexpr uint8_t kDikLeftAlt = 0x38;
inline constexpr uint8_t kDikSpace = 0x39;
inline constexpr uint8_t kDikRightCtrl = 0x9D;
inline constexpr uint8_t kDikRightAlt = 0xB8;
inline constexpr uint8_t kDikUp = 0xC8;
inline constexpr uint8_t kDikLeft = 0xCB;
inline constexpr uint8_t kDikRight = 0xCD;
inline constexpr uint8_t kDikDown = 0xD0;

inline bool KeyIsDown(const KeyboardState& state, uint8_t code) {
  return (state[code] & kKeyDown) != 0;
}

class KeyboardSource {
 public:
  virtual ~KeyboardSource() = default;
  // Opens the keyboard once; false when none can be read (FailureText says why).
  virtual bool SetUpKeyboard() = 0;
  // Fills the state; false, with every key up, when it cannot be read.
  virtual bool ReadKeyboard(KeyboardState& state) = 0;
  // Why the keyboard cannot be read, for the user; empty while it can.
  virtual std::string FailureText() const = 0;
};

// The keyboard of this system: X11 where it was built with X11, Windows' own there, and
// otherwise one that reports that no keyboard is available.
std::unique_ptr<KeyboardSource> MakeSystemKeyboard();

// A keyboard whose keys a test presses and releases.
class TestKeyboard : public KeyboardSource {
 public:
  bool SetUpKeyboard() override { return Available; }
  bool ReadKeyboard(KeyboardState& state) override {
    if (!Available) {
      state.fill(0);
      return false;
    }
    state = State;
    return true;
  }
  std::string FailureText() const override {
    return Available ? std::string() : std::string("No keyboard (test).");
  }

  void Press(uint8_t code) { State[code] = kKeyDown; }
  void Release(uint8_t code) { State[code] = 0; }
  void ReleaseAll() { State.fill(0); }

  KeyboardState State{};
  bool Available = true;
};

}  // namespace slab

// The keyboard read with GetAsyncKeyState, which sees keys whichever window has the focus;
// built on Windows only.
#ifdef _WIN32

#include <windows.h>

#include "platform/keyboard.h"
#include "platform/keyboard_win32_table.h"

namespace slab {
namespace {

class Win32Keyboard : public KeyboardSource {
 public:
  bool SetUpKeyboard() override {
    // The left and right Shift, Ctrl and Alt apart, as DirectInput tells them apart.
    virtualKey_ = DirectInputVirtualKeys([](unsigned scan) {
      return static_cast<uint8_t>(MapVirtualKeyW(scan, MAPVK_VSC_TO_VK_EX));
    });
    ready_ = true;
    return true;
  }

  bool ReadKeyboard(KeyboardState& state) override {
    state.fill(0);
    if (!ready_) return false;
    for (size_t code = 1; code < 256; ++code)
      if (virtualKey_[code] != 0 && (GetAsyncKeyState(virtualKey_[code]) & 0x8000))
        state[code] = kKeyDown;
    return true;
  }

  std::string FailureText() const override {
    return ready_ ? std::string() : std::string("The keyboard has not been set up.");
  }

 private:
  std::array<uint8_t, 256> virtualKey_{};
  bool ready_ = false;
};

}  // namespace

std::unique_ptr<KeyboardSource> MakeSystemKeyboard() { return std::make_unique<Win32Keyboard>(); }

}  // namespace slab

#endif  // _WIN32

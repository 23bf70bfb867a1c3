// The keyboard read from the X server with XQueryKeymap on a connection of our own, so the
// state is the server's whole keyboard whichever window has the focus.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdlib>

#include "platform/keyboard.h"
#include "platform/keyboard_x11_table.h"

namespace slab {
namespace {

class X11Keyboard : public KeyboardSource {
 public:
  ~X11Keyboard() override {
    if (display_) XCloseDisplay(display_);
  }

  bool SetUpKeyboard() override {
    if (display_) return true;
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
      const char* name = std::getenv("DISPLAY");
      failure_ = name && *name ? "The keyboard cannot be read: the X display \"" +
                                     std::string(name) + "\" cannot be opened."
                               : std::string("The keyboard cannot be read: there is no X display.");
      return false;
    }
    failure_.clear();
    table_ = EvdevKeycodeTable();
    AdjustForOtherKeycodes();
    return true;
  }

  bool ReadKeyboard(KeyboardState& state) override {
    state.fill(0);
    if (!display_) return false;
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    for (int keycode = 0; keycode < 256; ++keycode) {
      if ((keys[keycode / 8] >> (keycode % 8)) & 1) {
        uint8_t code = table_[static_cast<size_t>(keycode)];
        if (code != 0) state[code] = kKeyDown;
      }
    }
    return true;
  }

  std::string FailureText() const override { return display_ ? std::string() : failure_; }

 private:
  // A server with other key codes than evdev's (an old or non-Linux one): find at least
  // the keys whose meaning does not depend on the layout by what they type.
  void AdjustForOtherKeycodes() {
    auto keycodeOf = [&](KeySym sym) { return XKeysymToKeycode(display_, sym); };
    if (keycodeOf(XK_Tab) == 23 && keycodeOf(XK_Up) == 111) return;
    struct Named {
      KeySym Sym;
      uint8_t Code;
    };
    constexpr Named kNamed[] = {
        {XK_Tab, kDikTab},
        {XK_Control_L, kDikLeftCtrl},
        {XK_Alt_L, kDikLeftAlt},
        {XK_space, kDikSpace},
        {XK_Control_R, kDikRightCtrl},
        {XK_Alt_R, kDikRightAlt},
        {XK_Up, kDikUp},
        {XK_Left, kDikLeft},
        {XK_Right, kDikRight},
        {XK_Down, kDikDown},
        {XK_Escape, 0x01},
        {XK_Return, 0x1C},
        {XK_Shift_L, 0x2A},
        {XK_Shift_R, 0x36},
    };
    for (const Named& named : kNamed) {
      KeyCode keycode = keycodeOf(named.Sym);
      if (keycode == 0) continue;
      for (uint8_t& code : table_)
        if (code == named.Code) code = 0;
      table_[keycode] = named.Code;
    }
  }

  Display* display_ = nullptr;
  std::string failure_ = "The keyboard has not been set up.";
  std::array<uint8_t, 256> table_{};
};

}  // namespace

std::unique_ptr<KeyboardSource> MakeSystemKeyboard() { return std::make_unique<X11Keyboard>(); }

}  // namespace slab

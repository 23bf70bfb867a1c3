// Built where neither X11 nor Windows can give the keyboard: nothing can be read.
#include "platform/keyboard.h"

namespace slab {
namespace {

class NoKeyboard : public KeyboardSource {
 public:
  bool SetUpKeyboard() override { return false; }
  bool ReadKeyboard(KeyboardState& state) override {
    state.fill(0);
    return false;
  }
  std::string FailureText() const override {
    return "No keyboard is available: this build of the program cannot read the keyboard.";
  }
};

}  // namespace

std::unique_ptr<KeyboardSource> MakeSystemKeyboard() { return std::make_unique<NoKeyboard>(); }

}  // namespace slab

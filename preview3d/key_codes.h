// The key codes the cameras understand (the platform's virtual-key numbers).
#pragma once

namespace slab {

enum KeyCode : int {
  kKeyPageUp = 0x21,
  kKeyPageDown = 0x22,
  kKeyLeft = 0x25,
  kKeyUp = 0x26,
  kKeyRight = 0x27,
  kKeyDown = 0x28,
  kKeyA = 0x41,
  kKeyZ = 0x5A,
};

}  // namespace slab

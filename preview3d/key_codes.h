// The key codes the cameras understand (the platform's virtual-key numbers).
#pragma once

namespace slab {

inline constexpr int kKeyPageUp = 0x21;
inline constexpr int kKeyPageDown = 0x22;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyA = 0x41;
inline constexpr int kKeyZ = 0x5A;

}  // namespace slab

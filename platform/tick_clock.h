// The tick counter: milliseconds from an arbitrary start, only ever compared.
#pragma once

#include <chrono>
#include <cstdint>

namespace slab {

class TickClock {
 public:
  virtual ~TickClock() = default;
  virtual int64_t NowMs() = 0;
};

class SteadyTickClock : public TickClock {
 public:
  int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

// A clock that moves only when told; for tests.
class ManualTickClock : public TickClock {
 public:
  int64_t NowMs() override { return Now; }
  void Advance(int64_t ms) { Now += ms; }
  int64_t Now = 0;
};

}  // namespace slab

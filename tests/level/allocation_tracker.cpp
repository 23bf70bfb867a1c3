#include "allocation_tracker.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front, so deletes can be counted too.
constexpr size_t kHeader = alignof(std::max_align_t);

std::atomic<size_t> gLargest{0};
std::atomic<size_t> gLive{0};
std::atomic<size_t> gPeak{0};
std::atomic<size_t> gBase{0};

void RaiseTo(std::atomic<size_t>& value, size_t candidate) {
  size_t seen = value.load(std::memory_order_relaxed);
  while (candidate > seen && !value.compare_exchange_weak(seen, candidate)) {
  }
}

}  // namespace

namespace slab::test {

void ResetAllocations() {
  gLargest = 0;
  gBase = gLive.load();
  gPeak = gLive.load();
}
size_t LargestAllocation() { return gLargest.load(); }
size_t PeakAllocatedSinceReset() {
  size_t peak = gPeak.load(), base = gBase.load();
  return peak > base ? peak - base : 0;
}

}  // namespace slab::test

void* operator new(size_t size) {
  RaiseTo(gLargest, size);
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(block) = size;
  RaiseTo(gPeak, gLive.fetch_add(size) + size);
  return block + kHeader;
}
// The replacement pair is malloc/free; GCC cannot see that new and delete here match.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
  if (!p) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  gLive.fetch_sub(*reinterpret_cast<size_t*>(block));
  std::free(block);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

// Lists that are written in full right after they are sized (texture pages, texture strips):
// sizing them leaves the new elements uninitialised, because zeroing megabytes first costs a
// good part of reading or converting them.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace slab {

template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

template <typename T>
using PixelList = std::vector<T, UninitialisedAllocator<T>>;

// Sizes an empty list that is about to be written whole (a file read into it, a chunk
// inflated into it), its pages made present in one call first where the system offers that:
// taking them one fault at a time as the bytes arrive costs a level's load a tenth of its time.
template <typename List>
void ResizeForWriting(List& list, size_t entries) {
  list.reserve(entries);
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  constexpr uintptr_t kPage = 4096;
  const auto begin = (reinterpret_cast<uintptr_t>(list.data()) + kPage - 1) & ~(kPage - 1);
  const auto end = reinterpret_cast<uintptr_t>(list.data() + entries) & ~(kPage - 1);
  if (end > begin + 16 * kPage)  // a small list is not worth the call
    (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
  list.resize(entries);
}

}  // namespace slab

#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace tarnlow {

// An allocator that leaves new elements uninitialised. File sections are
// read straight into freshly allocated arrays; zero-filling them first would
// touch every page twice.
template <typename T>
struct DefaultInitAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };
  using std::allocator<T>::allocator;

  template <typename U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// Raw file bytes. Fill them before reading: resize() leaves them undefined.
using Bytes = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;

}  // namespace tarnlow

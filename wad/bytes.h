#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "wad/large_buffer.h"

namespace tarnlow {

// An allocator that leaves new elements uninitialised. File sections are
// read straight into freshly allocated arrays; zero-filling them first would
// touch every page twice. Large arrays come from AllocateLargeBuffer.
template <typename T>
struct DefaultInitAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };
  using std::allocator<T>::allocator;

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    if (n * sizeof(T) >= kLargeBufferBytes) return static_cast<T*>(AllocateLargeBuffer(n * sizeof(T)));
    return std::allocator<T>::allocate(n);
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (n * sizeof(T) >= kLargeBufferBytes) return FreeLargeBuffer(p, n * sizeof(T));
    std::allocator<T>::deallocate(p, n);
  }

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

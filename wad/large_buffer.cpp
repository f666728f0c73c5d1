#include "wad/large_buffer.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>

#include <cstdlib>
#endif

namespace tarnlow {

#ifdef __linux__

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void* AllocateLargeBuffer(std::size_t bytes) {
  if (bytes > static_cast<std::size_t>(-1) - kHugePage) throw std::bad_alloc();
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* buffer = std::aligned_alloc(kHugePage, rounded);
  if (buffer == nullptr) throw std::bad_alloc();
  // Only advice: where huge pages are off, the buffer is plain memory.
  ::madvise(buffer, rounded, MADV_HUGEPAGE);
  return buffer;
}

void FreeLargeBuffer(void* buffer, std::size_t) noexcept { std::free(buffer); }

#else

void* AllocateLargeBuffer(std::size_t bytes) { return ::operator new(bytes); }

void FreeLargeBuffer(void* buffer, std::size_t) noexcept { ::operator delete(buffer); }

#endif

}  // namespace tarnlow

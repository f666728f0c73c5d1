#pragma once

#include <cstddef>

namespace tarnlow {

// Byte arrays from this size on are large buffers.
inline constexpr std::size_t kLargeBufferBytes = std::size_t{4} << 20;

// Memory for a large buffer, backed by huge pages where the system offers
// them on request (Linux's transparent huge pages): a WAD's sections are
// tens of MiB, and first touching them a small page at a time can cost more
// than reading them. Elsewhere plain memory. Throws std::bad_alloc.
void* AllocateLargeBuffer(std::size_t bytes);

// Frees what AllocateLargeBuffer gave for `bytes`. Never fails.
void FreeLargeBuffer(void* buffer, std::size_t bytes) noexcept;

}  // namespace tarnlow

#include "wad/section_check.h"

#include <limits>

#include "wad/wad_error.h"
#include "wad/wad_reader.h"

namespace tarnlow {

std::string SectionCount::where() const { return std::string(name) + " at byte " + std::to_string(offset); }

std::uint64_t CheckedSectionBytes(const SectionCount& count, std::int64_t upperBound, std::uint64_t elementSize) {
  const std::string is = std::string(count.name) + " is " + std::to_string(count.value);
  if (upperBound < std::numeric_limits<std::int32_t>::min() || upperBound > std::numeric_limits<std::int32_t>::max()) {
    throw WadError(kOverflow, "Overflow: " + is + ", which gives an index outside the 32-bit range", count.where());
  }
  if (upperBound < 0) {
    throw WadError(kSubscriptOutOfRange,
                   "Subscript out of range: " + is + ", which leaves the section without a single element",
                   count.where());
  }
  const std::uint64_t bytes = (static_cast<std::uint64_t>(upperBound) + 1) * elementSize;
  if (bytes > kMaxArrayBytes) {
    throw WadError(kOutOfMemory,
                   "Out of memory: " + is + ", which needs " + std::to_string(bytes) +
                       " bytes, more than the 1 GiB an array may take",
                   count.where());
  }
  return bytes;
}

}  // namespace tarnlow

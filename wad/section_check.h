#pragma once

#include <cstdint>
#include <string>

namespace tarnlow {

// One count of a document file and where it stood, for checks and messages.
struct SectionCount {
  const char* name;      // "NumAnimations"
  std::int32_t value;    // as read
  std::uint64_t offset;  // byte offset of the count in the file

  // "NumAnimations at byte 1234"
  std::string where() const;
};

// Checks a section's extent before anything is allocated from it, in this
// order: `upperBound` (the last index, computed from the count in 64 bits)
// outside the 32-bit range throws WadError 6; below 0 throws 9; a length of
// (upperBound + 1) x elementSize above kMaxArrayBytes (wad_reader.h)
// throws 7. Returns that
// length in bytes.
std::uint64_t CheckedSectionBytes(const SectionCount& count, std::int64_t upperBound, std::uint64_t elementSize);

}  // namespace tarnlow

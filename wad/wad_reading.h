#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tarnlow {

// The twelve counted sections of a WAD file, in file order.
enum WadSection : int {
  kSectionTextInfo,
  kSectionTextData,
  kSectionMeshPointers,
  kSectionMeshData,
  kSectionAnimations,
  kSectionStateChanges,
  kSectionAnimDispatches,
  kSectionAnimCommands,
  kSectionMeshTrees,
  kSectionFrames,
  kSectionMoveables,
  kSectionStaticMeshes,
};
inline constexpr int kWadSections = 12;

// The name of each section's count: "NumTextInfo" ... "NumStaticMeshes".
inline constexpr std::array<const char*, kWadSections> kWadSectionNames = {
    "NumTextInfo",     "NumTextData",       "NumMeshPointers", "NumMeshData",  "NumAnimations", "NumStateChanges",
    "NumAnimDispatches", "NumAnimCommands", "NumMeshTrees",    "NumFrames",    "NumMoveables",  "NumStaticMeshes"};

// How one section came out of the file.
enum class SectionState : std::uint8_t {
  Whole,    // its count and all the data the count asks for were in the file
  Empty,    // a count below 1 (texture data: less than one row); no records
  Short,    // the file ends inside its data
  Missing,  // the file ends before its count is whole
};

struct SectionReading {
  SectionState state = SectionState::Missing;
  // The count as the file gives it, missing bytes read as zero.
  std::int32_t claimed = 0;
  // Byte offset of the count in the file.
  std::uint64_t offset = 0;
  // Units of the count (texture bytes, mesh-data words, records) whose bytes
  // the file holds whole.
  std::uint64_t held = 0;

  friend bool operator==(const SectionReading&, const SectionReading&) = default;
};

// Where reading a WAD file ended and what each section held. Both readers
// fill it; a file the specified reader takes gives the same record from both.
struct WadReading {
  std::array<SectionReading, kWadSections> sections{};
  std::uint64_t fileLength = 0;
  // The byte after the last one read from the file (never past its end).
  std::uint64_t end = 0;
  // Bytes after the static-mesh section; 0 when the file is cut short.
  std::uint64_t trailingBytes = 0;

  // Some section is short or missing.
  bool cutShort() const;
  // Some section from NumTextInfo to NumMoveables is empty. An empty
  // static-mesh section is normal and does not count.
  bool hasEmptySections() const;

  friend bool operator==(const WadReading&, const WadReading&) = default;
};

// What a person should know about a reading, on one line without a line
// break: "empty: NumStateChanges; short: NumFrames (12 of 300, the file ends
// at byte 4567); missing: NumMoveables, NumStaticMeshes". Empty when the
// file was read whole without empty sections.
std::string DescribeReading(const WadReading& reading);

}  // namespace tarnlow

#pragma once

#include <cstdint>

#include "wad/record_array.h"
#include "wad/wad_records.h"

namespace tarnlow {

using SwdEntry = OpaqueRecord<16>;
using SwdRecord = OpaqueRecord<8>;

// The sprite companion of a WAD. A plain value like WadDocument; a section
// whose count is 0 has an empty array. Default-constructed: all empty.
struct SwdDocument {
  std::int32_t SwdUnknown = 0;
  std::int32_t NumSwdEntries = 0;
  RecordArray<SwdEntry> SwdEntries;
  // Bytes of sprite texture data as stored; rows follow the WAD texture rule.
  std::int32_t NumSwdTextData = 0;
  RecordArray<TextureRow> SwdTextData;
  std::int32_t NumSwdRecords = 0;
  RecordArray<SwdRecord> SwdRecords;

  friend bool operator==(const SwdDocument&, const SwdDocument&) = default;
};

}  // namespace tarnlow

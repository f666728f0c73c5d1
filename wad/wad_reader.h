#pragma once

#include <cstdint>
#include <filesystem>

#include "wad/wad_document.h"

namespace tarnlow {

// Arrays larger than this are refused as "out of memory" (7) before anything
// is allocated; no real WAD comes near it.
inline constexpr std::uint64_t kMaxArrayBytes = std::uint64_t{1} << 30;

// Reads a whole WAD file in one pass and returns its document.
//
// `wadFileLength` is set to the file's length right after it is opened,
// before any section is read. Bytes missing at the end of the file read as
// zero; bytes after the static-mesh section are ignored.
//
// Throws WadError on failure, with the number the user is shown:
//  - 9 (subscript out of range): a count below 1 in sections 1 to 11, or a
//    texture count that gives no row;
//  - 6 (overflow): a count minus 1 outside the 32-bit range;
//  - 7 (out of memory): an array larger than kMaxArrayBytes;
//  - errno and its text: the file cannot be opened or read.
// Never allocates more than the file can supply: a section that runs past
// the end in sections 1 to 10 fails with 9 (the next count would read as 0)
// before its array is allocated.
WadDocument ReadWAD(const std::filesystem::path& path, std::int64_t& wadFileLength);

}  // namespace tarnlow

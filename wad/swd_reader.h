#pragma once

#include <filesystem>

#include "wad/swd_document.h"

namespace tarnlow {

// Reads an SWD file. A section is read only when its count is not 0, so a
// 16-byte file of zero counts is a valid, empty SWD. Missing bytes at the
// end read as zero.
//
// Throws WadError: 9 for a negative count or a texture count that gives no
// row (1 to 383); 6 for a count minus 1 outside the 32-bit range; 7 for an
// array larger than kMaxArrayBytes; errno and its text when the file cannot
// be opened. Never allocates more than the file can supply plus zeros that
// are not stored.
SwdDocument ReadSWD(const std::filesystem::path& path);

}  // namespace tarnlow

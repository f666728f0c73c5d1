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
// `reading` of the document records where the reading ended and the bytes
// after the static meshes.
WadDocument ReadWAD(const std::filesystem::path& path, std::int64_t& wadFileLength);

// Reads a WAD file as far as it goes, for files the specified reader refuses
// that still hold something worth seeing. Gives what ReadWAD gives (document
// and reading record) for every file ReadWAD takes; otherwise:
//  - a count below 1 in sections 1 to 11 (or texture data of less than a
//    row) is an empty section, its count kept as read, and reading goes on;
//  - a section the file ends inside of keeps the elements the file holds
//    whole (moveables and static meshes: as ReadWAD reads them, as long as
//    ReadWAD would take their count), and its count is cut to match; every
//    section after it is missing, its count 0 and its array empty.
// `reading` says which sections were empty, short or missing.
// Throws WadError only when the file cannot be opened or read (errno and its
// text), or when one section of a file over 1 GiB is larger than that (7).
WadDocument ReadWADLenient(const std::filesystem::path& path, std::int64_t& wadFileLength);

}  // namespace tarnlow

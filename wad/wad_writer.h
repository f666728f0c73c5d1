#pragma once

#include <filesystem>

#include "wad/atomic_file.h"
#include "wad/wad_document.h"

namespace tarnlow {

// Writes `document` in the WAD file form: every byte the reader consumed, in
// the same order and width, and nothing else (MeshRecords is not written).
// Counts are written as stored; records a short file supplied as zeros are
// written as zeros.
//
// The bytes go to a temporary file in the target's folder, which is then
// renamed over `path`, keeping an existing target's permissions; synced to
// the disk unless `durability` says scratch. On any
// failure the target is left exactly as it was and no temporary file stays.
//
// Throws WadError: 9 when an array holds fewer or more records than its
// count says (nothing is written then); errno and its text when the folder
// cannot be written, the disk is full or the rename fails.
void WriteWAD(const std::filesystem::path& path, const WadDocument& document,
              Durability durability = Durability::Synced);

}  // namespace tarnlow

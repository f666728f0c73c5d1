#pragma once

#include <cstdint>
#include <span>

#include "content/object_content.h"
#include "mesh/face_textures.h"
#include "wad/record_array.h"
#include "wad/wad_records.h"

namespace tarnlow {

// The pixels that `texture` (a face's texture as FaceTextureOf found it, or
// a sprite's rectangle corner by corner) shows on the pages of `rows`,
// turned to its corners (see FacePixels). Rows of a page that the section
// does not hold read as black, as the pages do. Never fails.
FacePixels FacePixelsOf(const RecordArray<TextureRow>& rows, const FaceTexture& texture);

// FNV-1a over `bytes`, continuing from `hash`.
std::uint64_t HashBytes(std::span<const std::uint8_t> bytes, std::uint64_t hash = 14695981039346656037ull);

}  // namespace tarnlow

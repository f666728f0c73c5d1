#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "mesh/face_textures.h"
#include "wad/record_array.h"
#include "wad/wad_records.h"

namespace tarnlow {

// Some texture pages of a section side by side in one picture, for formats
// that take one image per material: slot i of a grid of 256 x 256 slots,
// filled row by row, holds pages[i]. RGB bytes, row after row; whatever no
// page covers is the colour key, so it reads as transparent.
struct TextureAtlas {
  static constexpr int kSlot = 256;
  int width = 0, height = 0;
  int columns = 0;
  std::vector<std::size_t> pages;
  std::vector<std::uint8_t> rgb;  // width x height x 3
};

// An atlas of `pages` (each below TexturePageCount(rows); others are left
// out) on a grid as near square as it goes. Rows that a short file never
// held read as black, as the section does. Empty (0 x 0) when no page is
// given.
TextureAtlas MakeTextureAtlas(const RecordArray<TextureRow>& rows, const std::vector<std::size_t>& pages);

// Texture coordinates (0 to 1 across and down the atlas) of point `at` on
// page `page`; nothing when the page is not in the atlas.
struct AtlasUv {
  double u = 0, v = 0;
};
std::optional<AtlasUv> AtlasCoordinates(const TextureAtlas& atlas, std::size_t page, TexturePoint at);

}  // namespace tarnlow

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "wad/record_array.h"
#include "wad/wad_records.h"

namespace tarnlow {

// One page of a texture section: 256 pixels wide, up to 256 rows high, as
// RGB bytes, row after row, three bytes per pixel (red, green, blue, the
// order in which the level tools store a pixel).
struct TexturePage {
  static constexpr int kWidth = 256;
  static constexpr int kMaxHeight = 256;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // kWidth * height * 3 bytes

  friend bool operator==(const TexturePage&, const TexturePage&) = default;
};

// Number of pages of a texture section: its rows in pages of 256, the last
// page holding the remainder. 0 for an empty section.
std::size_t TexturePageCount(const RecordArray<TextureRow>& rows);

// Page `index` of a texture section (rows 256 x index on). Rows beyond the
// bytes a short file held read as zero (black), as the section does.
// Returns a page of height 0 when index >= TexturePageCount(rows).
// Pages are cut one at a time because an SWD section can claim thousands of
// pages that its file never held: nothing is allocated for the others.
TexturePage TexturePageAt(const RecordArray<TextureRow>& rows, std::size_t index);

// True for the colour key that the game draws as transparent: magenta
// (255, 0, 255).
constexpr bool IsColourKey(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red == 255 && green == 0 && blue == 255;
}

}  // namespace tarnlow

#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "mesh/face_textures.h"
#include "wad/record_array.h"
#include "wad/wad_records.h"

namespace tarnlow {

// A rectangle of one texture page in pixel edges: it covers columns x to
// x + width - 1 and rows y to y + height - 1.
struct TextureRect {
  std::size_t page = 0;
  int x = 0, y = 0, width = 0, height = 0;
  friend auto operator<=>(const TextureRect&, const TextureRect&) = default;
};

// The rectangle that a face's texture corners span. Never fails.
TextureRect RectOf(const FaceTexture& texture);

// The texture rectangles that some faces show, packed side by side into one
// picture for formats that take one image per material. Each rectangle is
// framed by a copy of its edge pixels, so that a viewer that blends
// neighbouring pixels does not blend in its neighbour. RGB bytes, row after
// row; whatever no rectangle covers is the colour key, so it reads as
// transparent.
struct TextureAtlas {
  static constexpr int kFrame = 1;
  int width = 0, height = 0;
  std::vector<TextureRect> rects;                // ascending, each once
  std::vector<std::pair<int, int>> places;       // where rects[i]'s first pixel stands in the atlas
  std::vector<std::uint8_t> rgb;                 // width x height x 3
};

// An atlas of `rects` (duplicates taken once; those on pages beyond
// TexturePageCount(rows) left out). Pixels outside their page (a rectangle
// that runs past column 255 or past the rows of a short last page) are the
// colour key. When the rectangles would take more room than the pages they
// lie on, those whole pages are packed instead, so an atlas is never larger
// than its pages. Empty (0 x 0) when no rectangle is left. Never fails.
TextureAtlas MakeTextureAtlas(const RecordArray<TextureRow>& rows, std::vector<TextureRect> rects);

// Texture coordinates (0 to 1 across and down the atlas) of corner `corner`
// of `texture`; nothing when its rectangle is not in the atlas or the
// corner is not one of its corners.
struct AtlasUv {
  double u = 0, v = 0;
};
std::optional<AtlasUv> AtlasCoordinates(const TextureAtlas& atlas, const FaceTexture& texture, std::size_t corner);

}  // namespace tarnlow

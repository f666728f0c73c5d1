#include "export/texture_atlas.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

#include "wad/texture_pages.h"

namespace tarnlow {

namespace {

constexpr std::uint8_t kKey[3] = {255, 0, 255};

// Rectangles, their frames included, in rows as wide as the widest one or
// the square root of their area, whichever is more, tallest first.
void pack(TextureAtlas& atlas) {
  const int frame = 2 * TextureAtlas::kFrame;
  std::int64_t area = 0;
  int widest = 0;
  for (const TextureRect& r : atlas.rects) {
    area += std::int64_t{r.width + frame} * (r.height + frame);
    widest = std::max(widest, r.width + frame);
  }
  // A power of two across suits the engines that still prefer one.
  const auto side = static_cast<unsigned>(std::max<double>(widest, std::ceil(std::sqrt(static_cast<double>(area)))));
  atlas.width = static_cast<int>(std::bit_ceil(side));
  std::vector<std::size_t> order(atlas.rects.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return atlas.rects[a].height > atlas.rects[b].height;
  });
  atlas.places.assign(atlas.rects.size(), {0, 0});
  int x = 0, y = 0, rowHeight = 0;
  for (std::size_t i : order) {
    const TextureRect& r = atlas.rects[i];
    if (x + r.width + frame > atlas.width) {
      x = 0;
      y += rowHeight;
      rowHeight = 0;
    }
    atlas.places[i] = {x + TextureAtlas::kFrame, y + TextureAtlas::kFrame};
    x += r.width + frame;
    rowHeight = std::max(rowHeight, r.height + frame);
  }
  atlas.height = y + rowHeight;
}

// Copies rectangle i with its frame: a pixel of the frame repeats the
// nearest pixel of the rectangle.
void copyRect(TextureAtlas& atlas, std::size_t i, const TexturePage& page) {
  const TextureRect& r = atlas.rects[i];
  const auto [left, top] = atlas.places[i];
  for (int dy = -TextureAtlas::kFrame; dy < r.height + TextureAtlas::kFrame; ++dy) {
    const int py = r.y + std::clamp(dy, 0, r.height - 1);
    for (int dx = -TextureAtlas::kFrame; dx < r.width + TextureAtlas::kFrame; ++dx) {
      const int px = r.x + std::clamp(dx, 0, r.width - 1);
      const bool onPage = px < TexturePage::kWidth && py < page.height;
      const std::uint8_t* from = onPage ? &page.rgb[(static_cast<std::size_t>(py) * TexturePage::kWidth + px) * 3] : kKey;
      const std::size_t to = (static_cast<std::size_t>(top + dy) * static_cast<std::size_t>(atlas.width) +
                              static_cast<std::size_t>(left + dx)) * 3;
      std::copy(from, from + 3, atlas.rgb.begin() + static_cast<std::ptrdiff_t>(to));
    }
  }
}

}  // namespace

TextureRect RectOf(const FaceTexture& texture) {
  const CornerBounds b = CornerBoundsOf(texture);
  return {.page = texture.page,
          .x = static_cast<int>(b.left),
          .y = static_cast<int>(b.top),
          .width = static_cast<int>(b.right - b.left),
          .height = static_cast<int>(b.bottom - b.top)};
}

TextureAtlas MakeTextureAtlas(const RecordArray<TextureRow>& rows, std::vector<TextureRect> rects) {
  TextureAtlas atlas;
  const std::size_t available = TexturePageCount(rows);
  std::erase_if(rects, [&](const TextureRect& r) { return r.page >= available || r.width <= 0 || r.height <= 0; });
  std::sort(rects.begin(), rects.end());
  rects.erase(std::unique(rects.begin(), rects.end()), rects.end());
  if (rects.empty()) return atlas;

  // Rectangles overlap and repeat across faces; past the area of their
  // pages, the pages themselves are the smaller picture.
  std::vector<std::size_t> pages;
  std::int64_t area = 0;
  for (const TextureRect& r : rects) {
    pages.push_back(r.page);
    area += std::int64_t{r.width} * r.height;
  }
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  if (area > static_cast<std::int64_t>(pages.size()) * TexturePage::kWidth * TexturePage::kMaxHeight) {
    rects.clear();
    for (std::size_t p : pages) {
      rects.push_back({.page = p, .x = 0, .y = 0, .width = TexturePage::kWidth, .height = TexturePage::kMaxHeight});
    }
  }
  atlas.rects = std::move(rects);
  pack(atlas);
  atlas.rgb.resize(static_cast<std::size_t>(atlas.width) * static_cast<std::size_t>(atlas.height) * 3);
  for (std::size_t i = 0; i < atlas.rgb.size(); i += 3) std::copy(kKey, kKey + 3, atlas.rgb.begin() + static_cast<std::ptrdiff_t>(i));
  // Rectangles are sorted by page: each page is cut once.
  TexturePage page;
  for (std::size_t i = 0; i < atlas.rects.size(); ++i) {
    if (i == 0 || atlas.rects[i].page != atlas.rects[i - 1].page) page = TexturePageAt(rows, atlas.rects[i].page);
    copyRect(atlas, i, page);
  }
  return atlas;
}

std::optional<AtlasUv> AtlasCoordinates(const TextureAtlas& atlas, const FaceTexture& texture, std::size_t corner) {
  if (corner >= texture.corners.size()) return std::nullopt;
  const TextureRect rect = RectOf(texture);
  const TexturePoint at = texture.corners[corner];
  // A rectangle packed whole stands for itself; a page packed whole stands
  // for every rectangle on it.
  auto found = std::lower_bound(atlas.rects.begin(), atlas.rects.end(), rect);
  double x = at.x - rect.x, y = at.y - rect.y;
  if (found == atlas.rects.end() || *found != rect) {
    found = std::find_if(atlas.rects.begin(), atlas.rects.end(), [&](const TextureRect& r) {
      return r.page == rect.page && r.x == 0 && r.y == 0 && r.width == TexturePage::kWidth;
    });
    if (found == atlas.rects.end()) return std::nullopt;
    x = at.x;
    y = at.y;
  }
  const auto [left, top] = atlas.places[static_cast<std::size_t>(found - atlas.rects.begin())];
  return AtlasUv{(left + x) / atlas.width, (top + y) / atlas.height};
}

}  // namespace tarnlow

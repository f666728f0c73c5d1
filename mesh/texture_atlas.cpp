#include "mesh/texture_atlas.h"

#include <algorithm>
#include <cmath>

#include "wad/texture_pages.h"

namespace tarnlow {

TextureAtlas MakeTextureAtlas(const RecordArray<TextureRow>& rows, const std::vector<std::size_t>& pages) {
  TextureAtlas atlas;
  const std::size_t available = TexturePageCount(rows);
  for (std::size_t page : pages) {
    if (page < available) atlas.pages.push_back(page);
  }
  if (atlas.pages.empty()) return atlas;
  const auto count = static_cast<int>(atlas.pages.size());
  atlas.columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
  const int gridRows = (count + atlas.columns - 1) / atlas.columns;
  atlas.width = atlas.columns * TextureAtlas::kSlot;
  atlas.height = gridRows * TextureAtlas::kSlot;
  atlas.rgb.resize(static_cast<std::size_t>(atlas.width) * static_cast<std::size_t>(atlas.height) * 3);
  for (std::size_t i = 0; i < atlas.rgb.size(); i += 3) {
    atlas.rgb[i] = 255;
    atlas.rgb[i + 1] = 0;
    atlas.rgb[i + 2] = 255;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(TexturePage::kWidth) * 3;
  for (int slot = 0; slot < count; ++slot) {
    const TexturePage page = TexturePageAt(rows, atlas.pages[static_cast<std::size_t>(slot)]);
    const int left = (slot % atlas.columns) * TextureAtlas::kSlot;
    const int top = (slot / atlas.columns) * TextureAtlas::kSlot;
    for (int y = 0; y < page.height; ++y) {
      const auto from = page.rgb.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * rowBytes);
      const std::size_t to = (static_cast<std::size_t>(top + y) * static_cast<std::size_t>(atlas.width) +
                              static_cast<std::size_t>(left)) * 3;
      std::copy(from, from + static_cast<std::ptrdiff_t>(rowBytes), atlas.rgb.begin() + static_cast<std::ptrdiff_t>(to));
    }
  }
  return atlas;
}

std::optional<AtlasUv> AtlasCoordinates(const TextureAtlas& atlas, std::size_t page, TexturePoint at) {
  const auto found = std::find(atlas.pages.begin(), atlas.pages.end(), page);
  if (found == atlas.pages.end()) return std::nullopt;
  const auto slot = static_cast<int>(found - atlas.pages.begin());
  const double left = (slot % atlas.columns) * TextureAtlas::kSlot;
  const double top = (slot / atlas.columns) * TextureAtlas::kSlot;
  return AtlasUv{(left + at.x) / atlas.width, (top + at.y) / atlas.height};
}

}  // namespace tarnlow

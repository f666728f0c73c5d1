#include "wad/texture_pages.h"

#include <algorithm>
#include <cstring>

namespace tarnlow {

std::size_t TexturePageCount(const RecordArray<TextureRow>& rows) {
  const std::size_t perPage = TexturePage::kMaxHeight;
  return (rows.size() + perPage - 1) / perPage;
}

TexturePage TexturePageAt(const RecordArray<TextureRow>& rows, std::size_t index) {
  TexturePage page;
  if (index >= TexturePageCount(rows)) return page;
  const std::size_t firstRow = index * TexturePage::kMaxHeight;
  const std::size_t height = std::min<std::size_t>(TexturePage::kMaxHeight, rows.size() - firstRow);
  page.height = static_cast<int>(height);
  // Zero-filled, so the rows a short file never held stay black.
  page.rgb.assign(height * TextureRow::kFileSize, 0);

  // The section's bytes are already in pixel order; copy what is stored.
  const Bytes& stored = rows.storedBytes();
  const std::size_t begin = firstRow * TextureRow::kFileSize;
  if (begin < stored.size()) {
    const std::size_t available = std::min(page.rgb.size(), stored.size() - begin);
    std::memcpy(page.rgb.data(), stored.data() + begin, available);
  }
  return page;
}

}  // namespace tarnlow

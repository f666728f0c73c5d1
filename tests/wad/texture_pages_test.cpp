#include "wad/texture_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

// Pixel x of page p's row y is pixel x of section row 256 p + y; past the
// last page there is only an empty one.
TEST(TexturePages, RowsFallIntoPagesOf256WithAShortLastPage) {
  const std::pair<std::int32_t, std::vector<int>> cases[] = {{255, {255}}, {256, {256}}, {600, {256, 256, 88}}};
  for (const auto& [rows, heights] : cases) {
    SCOPED_TRACE(rows);
    const WadDocument doc = test::WadBuilder().textureRows(rows).build();
    ASSERT_EQ(TexturePageCount(doc.TextData), heights.size());
    for (std::size_t p = 0; p <= heights.size(); ++p) {
      const TexturePage page = TexturePageAt(doc.TextData, p);
      const int height = p < heights.size() ? heights[p] : 0;
      ASSERT_EQ(page.height, height) << "page " << p;
      ASSERT_EQ(page.rgb.size(), static_cast<std::size_t>(height) * 256 * 3) << "page " << p;
      for (const int y : {0, height - 1}) {
        for (const int x : {0, 255}) {
          if (height == 0) continue;
          const TexturePixel pixel = doc.Pixel(x, p * 256 + static_cast<std::size_t>(y));
          const auto at = page.rgb.begin() + (y * 256 + x) * 3;
          EXPECT_TRUE(std::equal(pixel.Bytes.begin(), pixel.Bytes.end(), at)) << "page " << p << " x " << x << " y " << y;
        }
      }
    }
  }
}

TEST(TexturePages, RowsTheFileNeverHeldAreBlack) {
  // 300 rows claimed, bytes for the first 10 rows and half of the 11th.
  const RecordArray<TextureRow> rows(300, Bytes(10 * 768 + 384, 7));
  const TexturePage first = TexturePageAt(rows, 0);
  EXPECT_EQ(first.rgb[10 * 768 + 383], 7);
  EXPECT_TRUE(std::all_of(first.rgb.begin() + 10 * 768 + 384, first.rgb.end(), [](std::uint8_t b) { return b == 0; }));
  const TexturePage second = TexturePageAt(rows, 1);
  ASSERT_EQ(second.height, 44);
  EXPECT_TRUE(std::all_of(second.rgb.begin(), second.rgb.end(), [](std::uint8_t b) { return b == 0; }));
}

}  // namespace
}  // namespace tarnlow

#include "wad/texture_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

bool AllZero(const std::vector<std::uint8_t>& bytes, std::size_t from = 0) {
  return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// Pixel x of page p's row y is pixel x of section row 256 p + y; past the
// last page there is only an empty one.
TEST(TexturePages, RowsFallIntoPagesOf256WithAShortLastPage) {
  const struct {
    std::int32_t rows;
    std::vector<int> heights;
  } cases[] = {{1, {1}}, {255, {255}}, {256, {256}}, {257, {256, 1}}, {600, {256, 256, 88}}, {768, {256, 256, 256}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    const WadDocument doc = test::WadBuilder().textureRows(c.rows).build();
    ASSERT_EQ(TexturePageCount(doc.TextData), c.heights.size());
    for (std::size_t p = 0; p <= c.heights.size(); ++p) {
      const TexturePage page = TexturePageAt(doc.TextData, p);
      const int height = p < c.heights.size() ? c.heights[p] : 0;
      ASSERT_EQ(page.height, height) << "page " << p;
      ASSERT_EQ(page.rgb.size(), static_cast<std::size_t>(height) * 256 * 3) << "page " << p;
      if (height == 0) continue;
      for (const int y : {0, height / 2, height - 1}) {
        for (const int x : {0, 1, 255}) {
          const TexturePixel pixel = doc.Pixel(x, p * 256 + static_cast<std::size_t>(y));
          const std::size_t at = (static_cast<std::size_t>(y) * 256 + static_cast<std::size_t>(x)) * 3;
          EXPECT_EQ(std::vector<std::uint8_t>(page.rgb.begin() + at, page.rgb.begin() + at + 3),
                    std::vector<std::uint8_t>(pixel.Bytes.begin(), pixel.Bytes.end()))
              << "page " << p << " x " << x << " y " << y;
        }
      }
    }
  }
  EXPECT_EQ(TexturePageCount(RecordArray<TextureRow>{}), 0u);
  EXPECT_EQ(TexturePageAt(RecordArray<TextureRow>{}, 0), TexturePage{});
}

TEST(TexturePages, RowsTheFileNeverHeldAreBlack) {
  // 300 rows claimed, bytes for the first 10 rows and half of the 11th.
  const RecordArray<TextureRow> rows(300, Bytes(10 * 768 + 384, 7));
  const TexturePage first = TexturePageAt(rows, 0);
  ASSERT_EQ(first.height, 256);
  EXPECT_EQ(first.rgb[10 * 768 + 383], 7);
  EXPECT_TRUE(AllZero(first.rgb, 10 * 768 + 384));
  const TexturePage second = TexturePageAt(rows, 1);
  ASSERT_EQ(second.height, 44);
  EXPECT_TRUE(AllZero(second.rgb));
}

TEST(TexturePages, OnlyExactMagentaIsTheColourKey) {
  EXPECT_TRUE(IsColourKey(255, 0, 255));
  EXPECT_FALSE(IsColourKey(254, 0, 255));
  EXPECT_FALSE(IsColourKey(255, 1, 255));
  EXPECT_FALSE(IsColourKey(255, 0, 254));
}

}  // namespace
}  // namespace tarnlow

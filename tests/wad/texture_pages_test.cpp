#include "wad/texture_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::WadBuilder;

TEST(TexturePages, RowsFallIntoPagesOf256WithAShortLastPage) {
  const struct {
    std::int32_t rows;
    std::vector<int> heights;
  } cases[] = {
      {1, {1}},
      {255, {255}},
      {256, {256}},
      {257, {256, 1}},
      {600, {256, 256, 88}},
      {768, {256, 256, 256}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    const WadDocument doc = WadBuilder().textureRows(c.rows).build();
    ASSERT_EQ(TexturePageCount(doc.TextData), c.heights.size());
    for (std::size_t p = 0; p < c.heights.size(); ++p) {
      const TexturePage page = TexturePageAt(doc.TextData, p);
      EXPECT_EQ(page.height, c.heights[p]) << "page " << p;
      EXPECT_EQ(page.rgb.size(), static_cast<std::size_t>(c.heights[p]) * 256 * 3) << "page " << p;
    }
  }
}

TEST(TexturePages, EmptySectionHasNoPages) {
  const RecordArray<TextureRow> none;
  EXPECT_EQ(TexturePageCount(none), 0u);
  const TexturePage page = TexturePageAt(none, 0);
  EXPECT_EQ(page.height, 0);
  EXPECT_TRUE(page.rgb.empty());
}

TEST(TexturePages, IndexPastTheLastPageGivesAnEmptyPage) {
  const WadDocument doc = WadBuilder().textureRows(300).build();
  const TexturePage page = TexturePageAt(doc.TextData, 2);
  EXPECT_EQ(page.height, 0);
  EXPECT_TRUE(page.rgb.empty());
}

TEST(TexturePages, PixelXOfPageRowYIsPixelXOfSectionRowPageStartPlusY) {
  const WadDocument doc = WadBuilder().textureRows(300).build();
  for (std::size_t p = 0; p < 2; ++p) {
    const TexturePage page = TexturePageAt(doc.TextData, p);
    for (int y : {0, 1, 43, page.height - 1}) {
      for (int x : {0, 1, 128, 255}) {
        SCOPED_TRACE(testing::Message() << "page " << p << " x " << x << " y " << y);
        const TexturePixel expected = doc.Pixel(x, p * 256 + static_cast<std::size_t>(y));
        const std::size_t at = (static_cast<std::size_t>(y) * 256 + static_cast<std::size_t>(x)) * 3;
        EXPECT_EQ(page.rgb[at], expected.Bytes[0]);
        EXPECT_EQ(page.rgb[at + 1], expected.Bytes[1]);
        EXPECT_EQ(page.rgb[at + 2], expected.Bytes[2]);
      }
    }
  }
}

TEST(TexturePages, RowsTheFileNeverHeldAreBlack) {
  // 300 rows claimed, bytes for the first 10 rows and half of the 11th.
  Bytes stored(10 * 768 + 384, 7);
  const RecordArray<TextureRow> rows(300, stored);
  const TexturePage first = TexturePageAt(rows, 0);
  ASSERT_EQ(first.height, 256);
  EXPECT_EQ(first.rgb[10 * 768 + 383], 7);
  EXPECT_TRUE(std::all_of(first.rgb.begin() + 10 * 768 + 384, first.rgb.end(), [](std::uint8_t b) { return b == 0; }));
  const TexturePage second = TexturePageAt(rows, 1);
  ASSERT_EQ(second.height, 44);
  EXPECT_TRUE(std::all_of(second.rgb.begin(), second.rgb.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(TexturePages, OnlyExactMagentaIsTheColourKey) {
  const struct {
    std::uint8_t r, g, b;
    bool key;
  } cases[] = {
      {255, 0, 255, true}, {254, 0, 255, false}, {255, 1, 255, false},
      {255, 0, 254, false}, {0, 0, 0, false},    {255, 255, 255, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.r) << "," << int(c.g) << "," << int(c.b));
    EXPECT_EQ(IsColourKey(c.r, c.g, c.b), c.key);
  }
}

}  // namespace
}  // namespace tarnlow

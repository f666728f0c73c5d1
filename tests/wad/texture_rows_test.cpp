#include "wad/texture_rows.h"

#include <gtest/gtest.h>

#include <climits>

namespace tarnlow {
namespace {

TEST(TextureRows, UpperBoundRoundsHalvesToTheEvenRow) {
  const struct {
    std::int32_t bytes;
    std::int32_t upperBound;
  } cases[] = {
      {0, -1},
      {383, -1},
      {384, 0},  // -0.5 goes to the even 0
      {768, 0},
      {1000, 0},
      {768 * 2 + 384, 2},  // 1.5: to 2
      {768 * 3 + 384, 2},  // 2.5: to 2
      {768 * 256, 255},
      {-1, -1},
      {INT_MAX, 2796202},
      {INT_MIN, -2796204},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(TextureRowUpperBound(c.bytes), c.upperBound);
  }
}

TEST(TextureRows, WholeRowCountsGiveExactlyThatManyRows) {
  for (std::int32_t rows = 1; rows <= 4096; ++rows) {
    ASSERT_EQ(TextureRowUpperBound(rows * 768), rows - 1) << rows;
  }
}

}  // namespace
}  // namespace tarnlow

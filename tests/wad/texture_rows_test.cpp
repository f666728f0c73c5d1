#include "wad/texture_rows.h"

#include <gtest/gtest.h>

#include <climits>

namespace tarnlow {
namespace {

// The last row index is bytes / 768 - 1, rounded to the nearest integer with
// halves going to the even one; below 0 there is no row at all.
TEST(TextureRows, UpperBoundRoundsHalvesToTheEvenRow) {
  const struct {
    std::int32_t bytes;
    std::int32_t upperBound;
  } cases[] = {
      {INT_MIN, -2796204}, {-384, -2}, {-1, -1}, {0, -1}, {1, -1}, {382, -1}, {383, -1},
      {384, 0},  // -0.5: to 0
      {385, 0}, {768, 0}, {1000, 0}, {1151, 0},
      {1152, 0},  // 0.5: to 0
      {1153, 1}, {1919, 1},
      {1920, 2},  // 1.5: to 2
      {768 * 3 + 384, 2},  // 2.5: to 2
      {768 * 4 + 384, 4},  // 3.5: to 4
      {768 * 5 + 384, 4},  // 4.5: to 4
      {768 * 256, 255}, {INT_MAX, 2796202},
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

#include "wad/texture_rows.h"

#include <gtest/gtest.h>

#include <climits>

namespace tarnlow {
namespace {

// The last row index is bytes / 768 - 1, rounded to the nearest integer with
// halves going to the even one; below 0 there is no row at all.
TEST(TextureRows, UpperBoundRoundsHalvesToTheEvenRow) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {INT_MIN, -2796204}, {-384, -2}, {0, -1}, {383, -1}, {384, 0} /* -0.5 */, {1151, 0}, {1152, 0} /* 0.5 */,
      {1153, 1}, {1920, 2} /* 1.5 */, {768 * 3 + 384, 2}, {768 * 4 + 384, 4}, {INT_MAX, 2796202},
  };
  for (const auto& [bytes, upperBound] : cases) EXPECT_EQ(TextureRowUpperBound(bytes), upperBound) << bytes;
  for (std::int32_t rows = 1; rows <= 4096; ++rows) ASSERT_EQ(TextureRowUpperBound(rows * 768), rows - 1) << rows;
}

}  // namespace
}  // namespace tarnlow

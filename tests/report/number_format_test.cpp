#include "report/report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace tarnlow {
namespace {

// The minus sign stands directly before the first digit.
TEST(FormatNum, LaysDigitsIntoTheGroupingPattern) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "  0"}, {123, "  123"}, {1000, " 1 000"}, {1234567, "1 234 567"}, {1234567890, "1234 567 890"},
      {-5, "  -5"}, {-1234, " -1 234"}, {std::numeric_limits<std::int32_t>::min(), "-2147 483 648"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854 775 808"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatNum(value), text) << value;
}

TEST(FormatHex, WritesUpperCaseDigitsAndTwosComplementForNegatives) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "0"}, {1234, "4D2"}, {-1, "FFFFFFFF"}, {std::numeric_limits<std::int32_t>::min(), "80000000"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatHex(value), text) << value;
}

}  // namespace
}  // namespace tarnlow

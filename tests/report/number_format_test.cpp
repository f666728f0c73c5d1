#include "report/number_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "report/report.h"

namespace tarnlow {
namespace {

struct Case {
  std::int64_t value;
  const char* text;
};

TEST(FormatNum, LaysDigitsIntoTheGroupingPattern) {
  const Case cases[] = {
      {0, "  0"}, {5, "  5"}, {123, "  123"}, {1234, " 1 234"}, {1000, " 1 000"}, {786432, " 786 432"},
      {1234567, "1 234 567"}, {123456789, "123 456 789"}, {1234567890, "1234 567 890"},
      {std::numeric_limits<std::int32_t>::max(), "2147 483 647"},
      // Negative values: the minus sign stands directly before the first digit.
      {-5, "  -5"}, {-1234, " -1 234"}, {-1234567, "-1 234 567"},
      {std::numeric_limits<std::int32_t>::min(), "-2147 483 648"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854 775 808"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatNum(c.value), c.text) << c.value;
}

TEST(FormatHex, WritesUpperCaseDigitsAndTwosComplementForNegatives) {
  const Case cases[] = {
      {0, "0"}, {9, "9"}, {10, "A"}, {1234, "4D2"}, {786432, "C0000"},
      {std::numeric_limits<std::int32_t>::max(), "7FFFFFFF"}, {-1, "FFFFFFFF"}, {-1234, "FFFFFB2E"},
      {std::numeric_limits<std::int32_t>::min(), "80000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatHex(static_cast<std::int32_t>(c.value)), c.text) << c.value;
}

}  // namespace
}  // namespace tarnlow

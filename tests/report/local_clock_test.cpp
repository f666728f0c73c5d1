#include "report/local_clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tarnlow {
namespace {

// Each platform breaks the time down with its own call; the year must be
// this year (give or take the time zone) and every field in its range.
TEST(LocalClock, NowIsThisYearWithFieldsInRange) {
  const LocalDateTime now = LocalNow();
  const std::chrono::year_month_day utc{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
  EXPECT_LE(std::abs(now.year - static_cast<int>(utc.year())), 1);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31) << now.month << "/" << now.day;
  EXPECT_TRUE(now.hour < 24 && now.minute < 60 && now.second < 61) << now.hour << ":" << now.minute;
}

}  // namespace
}  // namespace tarnlow

#include "report/local_clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tarnlow {
namespace {

// Each platform breaks the time down with its own call; both must agree
// with the calendar the standard library computes for the same moment.
TEST(LocalClock, NowIsTodaysLocalDateWithFieldsInRange) {
  const LocalDateTime now = LocalNow();
  const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  const std::chrono::year_month_day utc{today};
  EXPECT_LE(std::abs(now.year - static_cast<int>(utc.year())), 1);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LT(now.hour, 24);
  EXPECT_LT(now.minute, 60);
  EXPECT_LT(now.second, 61);
}

}  // namespace
}  // namespace tarnlow

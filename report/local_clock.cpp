#include "report/local_clock.h"

#include <ctime>

namespace tarnlow {

namespace {

// The thread-safe local-time call of each platform; false when the time
// cannot be broken down.
bool breakDownLocal(std::time_t now, std::tm& local) {
#ifdef _WIN32
  return localtime_s(&local, &now) == 0;
#else
  return localtime_r(&now, &local) != nullptr;
#endif
}

}  // namespace

LocalDateTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || !breakDownLocal(now, local)) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace tarnlow

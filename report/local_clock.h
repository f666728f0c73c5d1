#pragma once

#include "report/report.h"

namespace tarnlow {

// The current local date and time, to the second. Never fails: a clock the
// system cannot convert gives all fields 0.
LocalDateTime LocalNow();

}  // namespace tarnlow

// When an update check is due: always when the user asks for one; automatically only when
// the interval is at least one day and that many days have passed since the last check.
// Times are local wall-clock times, so a day is a calendar day whatever the clock shifts.
// Pure; never throws.
#pragma once

#include <chrono>

namespace selvane {

bool IsUpdateCheckDue(bool manual, int intervalDays, std::chrono::local_seconds lastCheck,
                      std::chrono::local_seconds now);

}  // namespace selvane

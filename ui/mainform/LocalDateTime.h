// Date-time values as the settings file keeps them: days since 1899-12-30 00:00 in local
// time, the fraction being the time of day. Never throws.
#pragma once

#include <chrono>

namespace selvane {

// The current local date and time.
double LocalNowAsDays();

std::chrono::local_seconds DaysToLocalSeconds(double days);

}  // namespace selvane

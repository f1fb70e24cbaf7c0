#include "update/UpdateSchedule.h"

namespace selvane {

bool IsUpdateCheckDue(bool manual, int intervalDays, std::chrono::local_seconds lastCheck,
                      std::chrono::local_seconds now)
{
    if (manual) return true;
    return intervalDays >= 1 && lastCheck + std::chrono::days(intervalDays) <= now;
}

}  // namespace selvane

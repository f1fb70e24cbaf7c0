#include "ui/mainform/LocalDateTime.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace selvane {

namespace {

// 1970-01-01 counted from 1899-12-30.
constexpr double kUnixEpochDays = 25569.0;
constexpr double kSecondsPerDay = 86400.0;

}  // namespace

double LocalNowAsDays()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    using namespace std::chrono;
    const sys_days date = year_month_day{year{local.tm_year + 1900}, month{unsigned(local.tm_mon + 1)},
                                         day{unsigned(local.tm_mday)}};
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    return kUnixEpochDays + static_cast<double>(date.time_since_epoch().count()) + seconds / kSecondsPerDay;
}

std::chrono::local_seconds DaysToLocalSeconds(double days)
{
    using namespace std::chrono;
    // Far beyond any date the file can hold; keeps the conversion defined for damaged values.
    const double limit = 1e12;
    const double seconds =
        std::isfinite(days) ? std::clamp((days - kUnixEpochDays) * kSecondsPerDay, -limit, limit) : 0.0;
    return local_seconds{std::chrono::seconds{std::llround(seconds)}};
}

}  // namespace selvane

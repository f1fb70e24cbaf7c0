#include "util/ShortDate.h"

#include <climits>
#include <cmath>
#include <ctime>
#include <langinfo.h>
#include <stdexcept>

namespace selvane {

namespace {

// Days between 1970-01-01 and a date of the proleptic Gregorian calendar (valid for
// every year of the range used here).
long long DaysFromCivil(long long year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

struct CivilDate {
    long long year;
    unsigned month;
    unsigned day;
};

CivilDate CivilFromDays(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const unsigned month = shifted < 10 ? shifted + 3 : shifted - 9;
    return {static_cast<long long>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

const long long kEpoch = DaysFromCivil(1899, 12, 30);

std::string LocaleFormat()
{
    const std::string format = nl_langinfo(D_FMT);
    return format.empty() ? "%m/%d/%y" : format;
}

// The format with a four-digit year wherever it has a two-digit one. A format that builds
// the year from its century (%C) is left as it is.
std::string WideYearFormat(const std::string& format)
{
    if (format.find("%C") != std::string::npos) return format;
    std::string result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char conversion = format[++i];
            result += conversion == 'y'   ? "%Y"
                      : conversion == 'D' ? "%m/%d/%Y"
                                          : std::string{'%', conversion};
        } else {
            result += format[i];
        }
    }
    return result;
}

std::optional<double> ParseWith(const std::string& text, const std::string& format)
{
    std::tm fields{};
    // Markers that tell whether the format set the year, month and day at all.
    fields.tm_year = INT_MIN;
    fields.tm_mon = -1;
    fields.tm_mday = 0;
    const char* rest = strptime(text.c_str(), format.c_str(), &fields);
    if (!rest || *rest != '\0' || fields.tm_year == INT_MIN || fields.tm_mon < 0 || fields.tm_mday <= 0)
        return std::nullopt;
    const long long year = static_cast<long long>(fields.tm_year) + 1900;
    const auto month = static_cast<unsigned>(fields.tm_mon + 1);
    const auto day = static_cast<unsigned>(fields.tm_mday);
    const long long days = DaysFromCivil(year, month, day);
    const CivilDate check = CivilFromDays(days);
    if (check.year != year || check.month != month || check.day != day) return std::nullopt;
    return static_cast<double>(days - kEpoch);
}

}  // namespace

std::string FormatShortDate(double days)
{
    const double whole = std::trunc(days);
    // Years 1 to 9999, the range of the date type.
    if (!(whole >= -693593.0 && whole <= 2958465.0)) throw std::out_of_range("date out of range");
    const CivilDate date = CivilFromDays(static_cast<long long>(whole) + kEpoch);
    std::tm fields{};
    fields.tm_year = static_cast<int>(date.year - 1900);
    fields.tm_mon = static_cast<int>(date.month) - 1;
    fields.tm_mday = static_cast<int>(date.day);
    // Weekday and day of the year, for formats that show them.
    fields.tm_wday = static_cast<int>(((static_cast<long long>(whole) + kEpoch) % 7 + 11) % 7);
    fields.tm_yday =
        static_cast<int>(static_cast<long long>(whole) + kEpoch - DaysFromCivil(date.year, 1, 1));
    char buffer[256];
    const std::size_t length =
        std::strftime(buffer, sizeof buffer, WideYearFormat(LocaleFormat()).c_str(), &fields);
    return std::string(buffer, length);
}

std::optional<double> ParseShortDate(const std::string& text)
{
    const std::string format = LocaleFormat();
    if (auto days = ParseWith(text, format)) return days;
    return ParseWith(text, WideYearFormat(format));
}

}  // namespace selvane

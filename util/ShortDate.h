// Calendar dates as text in the user's short date format: the D_FMT of the process's
// LC_TIME locale (set by the program's setlocale), as the settings file stores them.
//
// Dates are counted as days since 1899-12-30 00:00 (so 0 is that midnight and 1.5 is
// 1899-12-31 12:00); only the calendar date is written, the time of day is dropped.
// A format that writes the year with two digits is widened to four, so that a date keeps
// its century through the file; reading accepts both. Uses the global locale: call while
// no other thread changes it.
#pragma once

#include <optional>
#include <string>

namespace selvane {

// Throws std::out_of_range for a value outside the years 1 to 9999 (or not finite).
std::string FormatShortDate(double days);

// The date at 00:00, or std::nullopt when text is not a valid date in the format
// (trailing characters, a day the month does not have).
std::optional<double> ParseShortDate(const std::string& text);

}  // namespace selvane

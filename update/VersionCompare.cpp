#include "update/VersionCompare.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

namespace selvane {

namespace {

// Splits off the text before the first "." (all of it when there is none).
std::string_view TakeComponent(std::string_view& rest)
{
    const auto dot = rest.find('.');
    const std::string_view component = rest.substr(0, dot);
    rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    return component;
}

std::int64_t ComponentValue(std::string_view text)
{
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

bool IsNewerStandard(std::string_view current, std::string_view found)
{
    // An empty version still has one (zero) component, so "" compares as 0.
    do {
        const std::int64_t have = ComponentValue(TakeComponent(current));
        const std::int64_t offered = ComponentValue(TakeComponent(found));
        if (offered != have) return offered > have;
    } while (!current.empty() || !found.empty());
    return false;
}

std::optional<double> DecimalValue(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool IsNewerNumber(std::string_view current, std::string_view found)
{
    const auto have = DecimalValue(current);
    const auto offered = DecimalValue(found);
    return have && offered && *offered > *have;
}

}  // namespace

bool IsNewerVersion(TVersionFormat format, std::string_view current, std::string_view found)
{
    switch (format) {
    case TVersionFormat::vfStandard: return IsNewerStandard(current, found);
    case TVersionFormat::vfString: return found > current;
    case TVersionFormat::vfNumber: return IsNewerNumber(current, found);
    }
    return false;
}

}  // namespace selvane

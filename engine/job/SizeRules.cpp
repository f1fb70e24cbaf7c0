#include "engine/job/SizeRules.h"

#include <cmath>

namespace selvane {

std::int64_t RoundHalfEven(long double value)
{
    return static_cast<std::int64_t>(std::nearbyintl(value));
}

double GetResizeFactor(int round, int zecimal)
{
    if (round == 0 && zecimal == 0) return 1.0;
    return static_cast<double>(static_cast<long double>(round) + static_cast<long double>(zecimal) / 10.0L);
}

std::optional<OutputSize> ComputeOutputSize(const SizeOptions& options, std::int64_t w, std::int64_t h)
{
    // The factor and the ratio are held as doubles; what is formed from them is formed with
    // a 64-bit significand, so that a quotient just below a half is not rounded up to one.
    const long double factor = GetResizeFactor(options.round, options.zecimal);
    const auto wide = [](std::int64_t value) { return static_cast<long double>(value); };
    switch (options.rule) {
    case ResizeRule::Decrease:
        if (factor <= 1.0L) return std::nullopt;
        return OutputSize{RoundHalfEven(wide(w) / factor), RoundHalfEven(wide(h) / factor)};
    case ResizeRule::Increase:
        if (factor <= 1.0L) return std::nullopt;
        return OutputSize{RoundHalfEven(wide(w) * factor), RoundHalfEven(wide(h) * factor)};
    case ResizeRule::SameSize: return OutputSize{options.width, options.height};
    case ResizeRule::SameWidth: {
        const double ratio = static_cast<double>(w) / static_cast<double>(h);
        return OutputSize{options.wh, RoundHalfEven(wide(options.wh) / ratio)};
    }
    case ResizeRule::SameHeight: {
        const double ratio = static_cast<double>(h) / static_cast<double>(w);
        return OutputSize{RoundHalfEven(wide(options.wh) / ratio), options.wh};
    }
    }
    return std::nullopt;
}

}  // namespace selvane

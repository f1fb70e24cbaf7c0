#include "engine/job/SizeRules.h"

#include <cmath>

namespace selvane {

std::int64_t RoundHalfEven(double value)
{
    return static_cast<std::int64_t>(std::nearbyint(value));
}

double GetResizeFactor(int round, int zecimal)
{
    if (round == 0 && zecimal == 0) return 1.0;
    return round + zecimal / 10.0;
}

std::optional<OutputSize> ComputeOutputSize(const SizeOptions& options, std::int64_t w, std::int64_t h)
{
    const double factor = GetResizeFactor(options.round, options.zecimal);
    switch (options.rule) {
    case ResizeRule::Decrease:
        if (factor <= 1.0) return std::nullopt;
        return OutputSize{RoundHalfEven(static_cast<double>(w) / factor),
                          RoundHalfEven(static_cast<double>(h) / factor)};
    case ResizeRule::Increase:
        if (factor <= 1.0) return std::nullopt;
        return OutputSize{RoundHalfEven(static_cast<double>(w) * factor),
                          RoundHalfEven(static_cast<double>(h) * factor)};
    case ResizeRule::SameSize: return OutputSize{options.width, options.height};
    case ResizeRule::SameWidth: {
        const double ratio = static_cast<double>(w) / static_cast<double>(h);
        return OutputSize{options.wh, RoundHalfEven(options.wh / ratio)};
    }
    case ResizeRule::SameHeight: {
        const double ratio = static_cast<double>(h) / static_cast<double>(w);
        return OutputSize{RoundHalfEven(options.wh / ratio), options.wh};
    }
    }
    return std::nullopt;
}

}  // namespace selvane

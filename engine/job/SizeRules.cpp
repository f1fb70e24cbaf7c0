#include "engine/job/SizeRules.h"

#include <algorithm>
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

namespace {

long double Wide(std::int64_t value)
{
    return static_cast<long double>(value);
}

OutputSize SameWidth(std::int64_t width, std::int64_t w, std::int64_t h)
{
    const double ratio = static_cast<double>(w) / static_cast<double>(h);
    return {width, RoundHalfEven(Wide(width) / ratio)};
}

OutputSize SameHeight(std::int64_t height, std::int64_t w, std::int64_t h)
{
    const double ratio = static_cast<double>(h) / static_cast<double>(w);
    return {RoundHalfEven(Wide(height) / ratio), height};
}

std::optional<OutputSize> RuleSize(const SizeOptions& options, std::int64_t w, std::int64_t h)
{
    // The factor and the ratio are held as doubles; what is formed from them is formed with
    // a 64-bit significand, so that a quotient just below a half is not rounded up to one.
    const long double factor = GetResizeFactor(options.round, options.zecimal);
    switch (options.rule) {
    case ResizeRule::Decrease:
        if (factor <= 1.0L) return std::nullopt;
        return OutputSize{RoundHalfEven(Wide(w) / factor), RoundHalfEven(Wide(h) / factor)};
    case ResizeRule::Increase:
        if (factor <= 1.0L) return std::nullopt;
        return OutputSize{RoundHalfEven(Wide(w) * factor), RoundHalfEven(Wide(h) * factor)};
    case ResizeRule::SameSize: return OutputSize{options.width, options.height};
    case ResizeRule::SameWidth: return SameWidth(options.wh, w, h);
    case ResizeRule::SameHeight: return SameHeight(options.wh, w, h);
    case ResizeRule::FitBox:
        // Which side limits is decided exactly, in integers; that side is the box's own.
        if (w * std::int64_t{options.fitHeight} >= std::int64_t{options.fitWidth} * h)
            return SameWidth(options.fitWidth, w, h);
        return SameHeight(options.fitHeight, w, h);
    case ResizeRule::LongSide: return w >= h ? SameWidth(options.wh, w, h) : SameHeight(options.wh, w, h);
    case ResizeRule::ShortSide: return w <= h ? SameWidth(options.wh, w, h) : SameHeight(options.wh, w, h);
    case ResizeRule::Percent: {
        // The products are exact in integers; one division then rounds each size once.
        return OutputSize{RoundHalfEven(Wide(w * options.percent) / 100.0L),
                          RoundHalfEven(Wide(h * options.percent) / 100.0L)};
    }
    }
    return std::nullopt;
}

}  // namespace

std::optional<OutputSize> ComputeOutputSize(const SizeOptions& options, std::int64_t w, std::int64_t h)
{
    const std::optional<OutputSize> size = RuleSize(options, w, h);
    if (!size || !options.noEnlarge || options.rule == ResizeRule::Increase) return size;
    if (size->width <= w && size->height <= h) return size;
    if (options.rule == ResizeRule::SameSize)
        return OutputSize{std::min(size->width, w), std::min(size->height, h)};
    return OutputSize{w, h};
}

bool KeepsOwnPixels(const SizeOptions& options, std::int64_t w, std::int64_t h, const OutputSize& size)
{
    return options.noEnlarge && options.rule != ResizeRule::Increase && size.width == w && size.height == h;
}

}  // namespace selvane

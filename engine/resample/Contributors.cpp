#include "engine/resample/Contributors.h"

#include <algorithm>
#include <cmath>

namespace selvane {

namespace {

std::int32_t Reflect(std::int64_t j, std::int64_t n)
{
    if (j < 0) j = -j;
    else if (j >= n) j = 2 * n - 1 - j;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(j, 0, n - 1));
}

// Every value below that is "rounded to a float" is formed in double from float operands
// and rounded once, which makes the lists identical on every machine.
float RoundToFloat(double value)
{
    return static_cast<float>(value);
}

}  // namespace

ContributorLists::ContributorLists(int n, int m, FilterFunction filter, float support)
{
    const bool single = (m == 1 && n > 1);
    float scale;
    if (n == 1) scale = static_cast<float>(m);
    else if (single) scale = RoundToFloat(1.0 / n);
    else scale = RoundToFloat(static_cast<double>(m - 1) / static_cast<double>(n - 1));

    starts_.reserve(static_cast<std::size_t>(m) + 1);
    starts_.push_back(0);
    const bool shrinking = scale < 1.0f;
    const float halfWidth = shrinking ? RoundToFloat(support / static_cast<double>(scale)) : support;
    const float stretch = shrinking ? RoundToFloat(1.0 / static_cast<double>(scale)) : 1.0f;
    // Room for every j between left and right of one list.
    taps_.reserve(static_cast<std::size_t>(m) * (static_cast<std::size_t>(2 * halfWidth) + 3));

    for (int i = 0; i < m; ++i) {
        const float centre =
            single ? RoundToFloat((n - 1) / 2.0) : RoundToFloat(i / static_cast<double>(scale));
        const auto left = static_cast<std::int64_t>(std::floor(static_cast<double>(centre) - halfWidth));
        const auto right = static_cast<std::int64_t>(std::ceil(static_cast<double>(centre) + halfWidth));
        for (std::int64_t j = left; j <= right; ++j) {
            float weight;
            if (shrinking) {
                const float argument =
                    RoundToFloat((static_cast<double>(centre) - static_cast<double>(j)) / stretch);
                weight = RoundToFloat(static_cast<double>(filter(argument)) / stretch);
            } else {
                weight = filter(RoundToFloat(static_cast<double>(centre) - static_cast<double>(j)));
            }
            if (weight != 0.0f) taps_.push_back({Reflect(j, n), weight});
        }
        starts_.push_back(taps_.size());
        maxTaps_ = std::max(maxTaps_, static_cast<int>(starts_.back() - starts_[starts_.size() - 2]));
    }
}

ContributorLists::ContributorLists(const ContributorLists& whole, int first, int count)
{
    const std::size_t begin = whole.starts_[static_cast<std::size_t>(first)];
    const std::size_t end = whole.starts_[static_cast<std::size_t>(first + count)];
    taps_.assign(whole.taps_.begin() + static_cast<std::ptrdiff_t>(begin),
                 whole.taps_.begin() + static_cast<std::ptrdiff_t>(end));
    starts_.reserve(static_cast<std::size_t>(count) + 1);
    for (int i = first; i <= first + count; ++i)
        starts_.push_back(whole.starts_[static_cast<std::size_t>(i)] - begin);
    for (int i = 0; i < count; ++i) maxTaps_ = std::max(maxTaps_, static_cast<int>(List(i).size()));
}

bool InOrder(std::span<const Contributor> list)
{
    for (std::size_t k = 1; k < list.size(); ++k)
        if (list[k].Pixel <= list[k - 1].Pixel) return false;
    return !list.empty();
}

}  // namespace selvane

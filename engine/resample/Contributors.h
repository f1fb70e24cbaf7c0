// The taps of a one-dimensional resampling: for every destination index along an axis, the
// source indices that contribute to it and their weights. Built once per pass and shared by
// every row (first pass) or column (second pass).
//
// Mapping: corner-aligned, scale = (m - 1) / (n - 1) as a float (m for a one-pixel
// source). Weights are not normalised. Source indices outside 0 .. n-1 are reflected: j < 0
// gives -j (the edge pixel is not repeated), j >= n gives 2n - 1 - j (it is); an index that
// still falls outside a source narrower than the filter's reach is clamped to the edge.
// A destination of one pixel from a larger source has no corner-aligned scale (it would be
// 0); it is centred on the source, with the filter stretched over the whole source.
#pragma once

#include "engine/resample/FilterTable.h"

#include <cstdint>
#include <span>
#include <vector>

namespace selvane {

struct Contributor {
    std::int32_t Pixel;  // source index, already reflected into the source
    float Weight;        // never exactly 0
};

class ContributorLists {
public:
    // n = source size along the axis (>= 1), m = destination size (>= 1).
    ContributorLists(int n, int m, FilterFunction filter, float support);
    // The lists first .. first + count - 1 of whole, for resampling a part of a destination
    // exactly as the whole would be.
    ContributorLists(const ContributorLists& whole, int first, int count);

    int Count() const noexcept { return static_cast<int>(starts_.size()) - 1; }
    std::span<const Contributor> List(int i) const noexcept
    {
        return {taps_.data() + starts_[static_cast<std::size_t>(i)],
                starts_[static_cast<std::size_t>(i) + 1] - starts_[static_cast<std::size_t>(i)]};
    }
    // The longest list, so that kernels can size their buffers once.
    int MaxTaps() const noexcept { return maxTaps_; }

private:
    std::vector<Contributor> taps_;
    std::vector<std::size_t> starts_;
    int maxTaps_ = 0;
};

// Whether a list's source indices only go up: true away from the edges, where the reflected
// taps turn back. Such a list can be laid out as a window of neighbouring pixels or rows.
bool InOrder(std::span<const Contributor> list);

}  // namespace selvane

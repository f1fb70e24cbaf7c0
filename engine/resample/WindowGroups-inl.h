// Neighbouring outputs summed together, once per Highway target (include it after
// <hwy/highway.h> inside a file that foreach_target compiles). Both passes take a few
// outputs at a time whose taps are windows of neighbouring pixels or rows: each pixel or row
// is loaded and converted once for all the outputs that read it, and every output still adds
// its taps in order.

#if defined(SELVANE_ENGINE_RESAMPLE_WINDOW_GROUPS_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef SELVANE_ENGINE_RESAMPLE_WINDOW_GROUPS_INL_H_
#undef SELVANE_ENGINE_RESAMPLE_WINDOW_GROUPS_INL_H_
#else
#define SELVANE_ENGINE_RESAMPLE_WINDOW_GROUPS_INL_H_
#endif

#include <hwy/highway.h>

#include <cstddef>
#include <utility>

HWY_BEFORE_NAMESPACE();
namespace selvane {
namespace HWY_NAMESPACE {

// The windows of n outputs, output i's from starts[i] up to ends[i], where the starts go up,
// the ends go up and every start comes before the first window's end: from one start or end
// to the next, the same outputs first .. last cover every tap. Calls
// add.template operator()<first, last>(from, to) for each of those stretches, left to right.
template <std::size_t n, class Add>
HWY_INLINE void ForEachCoveredStretch(const std::size_t* starts, const std::size_t* ends, Add&& add)
{
    const auto bound = [&](std::size_t j) { return j < n ? starts[j] : ends[j - n]; };
    [&]<std::size_t... j>(std::index_sequence<j...>)
    {
        (add.template operator()<(j < n ? 0 : j - n + 1), (j < n ? j : n - 1)>(bound(j), bound(j + 1)), ...);
    }
    (std::make_index_sequence<2 * n - 1>());
}

}  // namespace HWY_NAMESPACE
}  // namespace selvane
HWY_AFTER_NAMESPACE();

#endif  // include guard per target

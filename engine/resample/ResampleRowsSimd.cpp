// SIMD twin of the rows pass (ResampleRowsScalar.cpp), compiled once per CPU target and
// chosen at run time. It sums every output byte's taps in list order with one fused
// multiply-add each, and rounds and clamps alike, so its results are identical to the byte.
//
// A row's taps are neighbours along the row, which a vector cannot share out to its lanes
// without a gather. So the lanes hold rows instead: a block of as many rows as a vector has
// lanes is turned on its side (SidewaysBlock-inl.h), and each tap is then one load and one
// multiply-add for the whole block. The outputs are taken a run at a time; only the stretch
// of source samples that a run's taps reach is turned, so the work stays in the nearest
// caches, and the run's bytes are turned back into the rows. The bytes are converted to
// floats at each tap: storing the stretch as floats first cost more than it saved.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/resample/ResampleRowsSimd.cpp"
#include <hwy/base.h>
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/resample/ResamplePasses.h"
#include "engine/resample/SidewaysBlock-inl.h"
#include "engine/resample/SimdBytes-inl.h"
#include "engine/resample/WindowGroups-inl.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#ifndef SELVANE_ENGINE_RESAMPLE_ROWS_SIMD_ONCE_
#define SELVANE_ENGINE_RESAMPLE_ROWS_SIMD_ONCE_
namespace selvane {
namespace {

// Outputs per run: 3 x 64 samples are a whole number of byte vectors on every target.
constexpr int kRun = 64;

// The lists of one pass laid out for the runs. Every output gets the same number of taps,
// the missing ones with weight 0: such a tap adds exactly 0 to the sum, and a tap loop of one
// length throughout is never mispredicted. A tap's offset is in bytes from the start of its
// run's stretch turned on its side, bytesPerPixel per pixel.
//
// Most outputs read neighbouring pixels from left to right. Those are laid out as a window:
// tap k reads the k-th pixel from the window's first, the pixels the list skips and the
// window's end getting weight 0, so that two neighbouring outputs can share the loads of the
// pixels both windows cover, and four neighbouring outputs whose windows all start within the
// first one's, those that any of them cover. The others (near the edges, where the reflected
// taps turn back) keep their list with the zero taps at the end. Outputs are taken four at a
// time, two by two where their windows do not fit; a count that is not a multiple of four
// gets outputs of zero weights, computed and dropped.
struct RowRuns {
    struct Stretch {
        std::size_t first, last;  // source pixels that the run's taps read
    };
    // For the pair of outputs x, x + 1 (x even) at x / 2: how many pixels the second window
    // starts after the first (at most tapsPerOutput), or kListed.
    static constexpr std::uint32_t kListed = std::numeric_limits<std::uint32_t>::max();
    static constexpr std::size_t kGroup = 4;
    // For the outputs x .. x + 3 (x a multiple of four) at x / 4: how many pixels the windows
    // of the second, third and fourth start after the first one's, in order and at most
    // tapsPerOutput, or kListed first.
    using GroupStarts = std::array<std::uint32_t, kGroup - 1>;

    std::vector<Stretch> stretches;
    std::size_t windowTaps;              // the pixels of every window
    std::size_t tapsPerOutput;           // room for a window or a list
    std::vector<std::uint32_t> offsets;  // output x's taps at x * tapsPerOutput
    std::vector<float> weights;
    std::vector<std::uint32_t> pairShifts;
    std::vector<GroupStarts> groupStarts;

    RowRuns(const ContributorLists& lists, std::size_t bytesPerPixel)
        : windowTaps(WindowTaps(lists)),
          tapsPerOutput(std::max(windowTaps, static_cast<std::size_t>(lists.MaxTaps()))),
          offsets(hwy::RoundUpTo(static_cast<std::size_t>(lists.Count()), kGroup) * tapsPerOutput, 0),
          weights(offsets.size(), 0.0f), pairShifts(offsets.size() / tapsPerOutput / 2, kListed),
          groupStarts(pairShifts.size() / 2, GroupStarts{kListed, kListed, kListed})
    {
        std::vector<int> windowStarts(offsets.size() / tapsPerOutput, -1);  // -1: a list
        for (int x0 = 0; x0 < lists.Count(); x0 += kRun) {
            const int x1 = std::min(x0 + kRun, lists.Count());
            int first = std::numeric_limits<int>::max(), last = 0;
            for (int x = x0; x < x1; ++x)
                for (const Contributor& tap : lists.List(x)) {
                    first = std::min(first, tap.Pixel);
                    last = std::max(last, tap.Pixel);
                }
            first = std::min(first, last);
            stretches.push_back({static_cast<std::size_t>(first), static_cast<std::size_t>(last)});
            for (int x = x0; x < x1; ++x) {
                const auto list = lists.List(x);
                const std::size_t at = static_cast<std::size_t>(x) * tapsPerOutput;
                const bool window = InOrder(list) && Span(list) <= windowTaps;
                if (window) windowStarts[static_cast<std::size_t>(x)] = list[0].Pixel;
                for (std::size_t k = 0; k < tapsPerOutput; ++k) {
                    // The tap's pixel, counted from the stretch's first.
                    std::size_t pixel = 0;
                    if (window) pixel = static_cast<std::size_t>(list[0].Pixel - first) + k;
                    else if (k < list.size()) pixel = static_cast<std::size_t>(list[k].Pixel - first);
                    offsets[at + k] = static_cast<std::uint32_t>(pixel * bytesPerPixel);
                }
                for (std::size_t k = 0; k < list.size(); ++k)
                    weights[at + (window ? static_cast<std::size_t>(list[k].Pixel - list[0].Pixel) : k)] =
                        list[k].Weight;
            }
        }
        for (std::size_t pair = 0; pair < pairShifts.size(); ++pair) {
            const int left = windowStarts[2 * pair], right = windowStarts[2 * pair + 1];
            if (left >= 0 && right >= left && static_cast<std::size_t>(right - left) <= windowTaps)
                pairShifts[pair] = static_cast<std::uint32_t>(right - left);
        }
        for (std::size_t group = 0; group < groupStarts.size(); ++group) {
            const int* starts = windowStarts.data() + kGroup * group;
            bool fits = starts[0] >= 0;
            for (std::size_t i = 1; i < kGroup; ++i)
                fits = fits && starts[i] >= starts[i - 1] &&
                       static_cast<std::size_t>(starts[i] - starts[0]) <= windowTaps;
            if (!fits) continue;
            for (std::size_t i = 1; i < kGroup; ++i)
                groupStarts[group][i - 1] = static_cast<std::uint32_t>(starts[i] - starts[0]);
        }
    }

private:
    static std::size_t Span(std::span<const Contributor> list)
    {
        return static_cast<std::size_t>(list.back().Pixel - list.front().Pixel) + 1;
    }

    // Wide enough for all but one in a hundred of the lists that can be windows: a wider
    // window would cost every output its zero taps, while the few wider lists near the edges
    // cost only themselves.
    static std::size_t WindowTaps(const ContributorLists& lists)
    {
        std::vector<std::size_t> spans;
        for (int x = 0; x < lists.Count(); ++x)
            if (InOrder(lists.List(x))) spans.push_back(Span(lists.List(x)));
        if (spans.empty()) return 1;
        const auto at = spans.begin() + static_cast<std::ptrdiff_t>(spans.size() - 1 - spans.size() / 100);
        std::nth_element(spans.begin(), at, spans.end());
        return *at;
    }
};

}  // namespace
}  // namespace selvane
#endif

HWY_BEFORE_NAMESPACE();
namespace selvane {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_NATIVE_FMA

// One pixel's blue, green and red samples for a block of rows, as floats.
struct PixelSamples {
    hn::Vec<FloatTag> blue, green, red;

    // pixel points at the samples on their side, lanes bytes apart.
    HWY_INLINE PixelSamples(const std::uint8_t* pixel, std::size_t lanes)
        : blue(LoadBytes(pixel)), green(LoadBytes(pixel + lanes)), red(LoadBytes(pixel + 2 * lanes))
    {}
};

// The three colour sums of one output for a block of rows.
struct PixelSums {
    hn::Vec<FloatTag> blue, green, red;

    HWY_INLINE PixelSums() : blue(hn::Zero(FloatTag())), green(blue), red(blue) {}

    HWY_INLINE void Add(const PixelSamples& pixel, float weight)
    {
        const auto w = hn::Set(FloatTag(), weight);
        blue = hn::MulAdd(pixel.blue, w, blue);
        green = hn::MulAdd(pixel.green, w, green);
        red = hn::MulAdd(pixel.red, w, red);
    }

    // One tap: pixel points at the pixel's blue, green and red samples on their side, lanes
    // bytes apart.
    HWY_INLINE void Add(const std::uint8_t* pixel, std::size_t lanes, float weight)
    {
        Add(PixelSamples(pixel, lanes), weight);
    }
};

class SimdRowsPass : public RowsPass {
public:
    SimdRowsPass(const ContributorLists& lists, std::size_t sourceSamples)
        : lanes_(hn::Lanes(FloatTag())), outputs_(static_cast<std::size_t>(lists.Count())),
          sourceSamples_(sourceSamples), runs_(lists, 3 * lanes_),
          // A window may reach up to tapsPerOutput pixels past its run's stretch with taps of
          // weight 0; they read bytes the block holds from before, which add exactly 0.
          in_(Widest(runs_) + 3 * runs_.tapsPerOutput), out_(3 * kRun)
    {}

    void Resample(const std::uint8_t* const* in, std::uint8_t* const* out, int rows) override
    {
        const std::size_t count = static_cast<std::size_t>(rows);
        for (std::size_t y0 = 0; y0 < count; y0 += lanes_) {
            const std::size_t blockRows = std::min(lanes_, count - y0);
            // Lanes past the last row repeat it; their results are not stored.
            const std::uint8_t* inRows[SidewaysBlock::kMaxRows];
            for (std::size_t r = 0; r < lanes_; ++r) inRows[r] = in[y0 + std::min(r, blockRows - 1)];
            for (std::size_t run = 0; run < runs_.stretches.size(); ++run)
                ResampleRun(run, inRows, out + y0, blockRows);
        }
    }

private:
    static std::size_t Widest(const RowRuns& runs)
    {
        std::size_t widest = 0;
        for (const auto& stretch : runs.stretches)
            widest = std::max(widest, 3 * (stretch.last - stretch.first + 1));
        return widest;
    }

    void ResampleRun(std::size_t run, const std::uint8_t* const* inRows, std::uint8_t* const* outRows,
                     std::size_t blockRows)
    {
        const std::size_t lanes = lanes_;
        const std::size_t begin = 3 * runs_.stretches[run].first;
        const std::size_t end = 3 * runs_.stretches[run].last + 3;
        in_.Turn(inRows, begin, end, sourceSamples_);
        const std::uint8_t* samples = in_.Runs();

        const std::size_t x0 = run * kRun;
        const std::size_t x1 = std::min(x0 + kRun, outputs_);
        const std::size_t taps = runs_.tapsPerOutput;
        for (std::size_t x = x0; x < x1; x += RowRuns::kGroup) {
            std::uint8_t* bytes = out_.Runs() + 3 * (x - x0) * lanes;
            const RowRuns::GroupStarts& starts = runs_.groupStarts[x / RowRuns::kGroup];
            if (starts[0] != RowRuns::kListed) {
                PixelSums sums[RowRuns::kGroup];
                const std::size_t from[RowRuns::kGroup] = {0, starts[0], starts[1], starts[2]};
                AddWindows<RowRuns::kGroup>(samples + runs_.offsets[x * taps], from,
                                            runs_.weights.data() + x * taps, sums);
                StoreFour(sums, bytes);
                continue;
            }
            for (std::size_t pair = x; pair < x + RowRuns::kGroup; pair += 2, bytes += 6 * lanes) {
                const std::uint32_t* offsets = runs_.offsets.data() + pair * taps;
                const float* weights = runs_.weights.data() + pair * taps;
                PixelSums sums[2];
                const std::uint32_t shift = runs_.pairShifts[pair / 2];
                const std::size_t from[2] = {0, shift};
                if (shift != RowRuns::kListed) AddWindows<2>(samples + offsets[0], from, weights, sums);
                else AddLists(samples, offsets, weights, sums[0], sums[1]);
                StoreFourClamped(sums[0].blue, sums[0].green, sums[0].red, sums[1].blue, bytes);
                StoreTwoClamped(sums[1].green, sums[1].red, bytes + 4 * lanes);
            }
        }
        out_.TurnBack(outRows, blockRows, 3 * x0, 3 * x1);
    }

    HWY_INLINE void StoreFour(const PixelSums* sums, std::uint8_t* bytes) const
    {
        const std::size_t lanes = lanes_;
        StoreFourClamped(sums[0].blue, sums[0].green, sums[0].red, sums[1].blue, bytes);
        StoreFourClamped(sums[1].green, sums[1].red, sums[2].blue, sums[2].green, bytes + 4 * lanes);
        StoreFourClamped(sums[2].red, sums[3].blue, sums[3].green, sums[3].red, bytes + 8 * lanes);
    }

    // The windows of n outputs, the first one starting at pixels and the others starts[i]
    // pixels later.
    template <std::size_t n>
    HWY_INLINE void AddWindows(const std::uint8_t* pixels, const std::size_t* starts, const float* weights,
                               PixelSums* sums) const
    {
        const std::size_t stride = runs_.tapsPerOutput;
        const std::size_t step = 3 * lanes_;
        std::size_t ends[n];
        for (std::size_t i = 0; i < n; ++i) ends[i] = starts[i] + runs_.windowTaps;
        ForEachCoveredStretch<n>(starts, ends,
                                 [&]<std::size_t first, std::size_t last>(std::size_t from, std::size_t to) {
                                     for (std::size_t p = from; p < to; ++p) {
                                         const PixelSamples pixel(pixels + p * step, lanes_);
                                         for (std::size_t i = first; i <= last; ++i)
                                             sums[i].Add(pixel, weights[i * stride + p - starts[i]]);
                                     }
                                 });
    }

    HWY_INLINE void AddLists(const std::uint8_t* samples, const std::uint32_t* offsets, const float* weights,
                             PixelSums& left, PixelSums& right) const
    {
        const std::size_t taps = runs_.tapsPerOutput;
        for (std::size_t k = 0; k < taps; ++k) {
            left.Add(samples + offsets[k], lanes_, weights[k]);
            right.Add(samples + offsets[taps + k], lanes_, weights[taps + k]);
        }
    }

    const std::size_t lanes_;
    const std::size_t outputs_;
    const std::size_t sourceSamples_;
    const RowRuns runs_;
    SidewaysBlock in_, out_;
};

std::unique_ptr<RowsPass> MakeRowsPassTarget(const ContributorLists& lists, std::size_t sourceSamples)
{
    if (!SidewaysBlock::Supported()) return MakeRowsPassScalar(lists, sourceSamples);  // beyond 512 bits
    return std::make_unique<SimdRowsPass>(lists, sourceSamples);
}

#else  // no true fused multiply-add on this target, whose emulation would round twice

std::unique_ptr<RowsPass> MakeRowsPassTarget(const ContributorLists& lists, std::size_t sourceSamples)
{
    return MakeRowsPassScalar(lists, sourceSamples);
}

#endif

}  // namespace HWY_NAMESPACE
}  // namespace selvane
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace selvane {

HWY_EXPORT(MakeRowsPassTarget);

std::unique_ptr<RowsPass> MakeRowsPassSimd(const ContributorLists& lists, std::size_t sourceSamples)
{
    return HWY_DYNAMIC_DISPATCH(MakeRowsPassTarget)(lists, sourceSamples);
}

}  // namespace selvane
#endif

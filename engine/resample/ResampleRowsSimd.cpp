// SIMD twin of the rows pass (ResampleRowsScalar.cpp), compiled once per CPU target and
// chosen at run time. It sums every output byte's taps in list order with one fused
// multiply-add each, and rounds and clamps alike, so its results are identical to the byte.
//
// A row's taps are neighbours along the row, which a vector cannot share out to its lanes
// without a gather. So the lanes hold rows instead: a block of as many rows as a vector has
// lanes is turned on its side (SidewaysBlock-inl.h), and each tap is then one load and one
// multiply-add for the whole block. The outputs are taken a run at a time; only the stretch
// of source samples that a run's taps reach is turned and converted to floats, so the work
// stays in the nearest caches, and the run's bytes are turned back into the rows.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/resample/ResampleRowsSimd.cpp"
#include <hwy/aligned_allocator.h>
#include <hwy/base.h>
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/resample/ResamplePasses.h"
#include "engine/resample/SidewaysBlock-inl.h"
#include "engine/resample/SimdBytes-inl.h"

#include <algorithm>
#include <limits>
#include <vector>

#ifndef SELVANE_ENGINE_RESAMPLE_ROWS_SIMD_ONCE_
#define SELVANE_ENGINE_RESAMPLE_ROWS_SIMD_ONCE_
namespace selvane {
namespace {

// Outputs per run: 3 x 64 samples are a whole number of byte vectors on every target.
constexpr int kRun = 64;

// The lists of one pass laid out for the runs. Every output gets the same number of taps,
// the missing ones with weight 0 at the end: such a tap adds exactly 0 to the sum, a tap loop
// of one length throughout is never mispredicted, and outputs can be taken two at a time (an
// odd count gets one more output of zero weights, computed and dropped). A tap's offset is in
// floats from the start of its run's stretch, for a layout of floatsPerPixel per pixel.
struct RowRuns {
    struct Stretch {
        std::size_t first, last;  // source pixels that the run's taps read
    };
    std::vector<Stretch> stretches;
    std::size_t tapsPerOutput;
    std::vector<std::uint32_t> offsets;  // output x's taps at x * tapsPerOutput
    std::vector<float> weights;

    RowRuns(const ContributorLists& lists, std::size_t floatsPerPixel)
        : tapsPerOutput(static_cast<std::size_t>(std::max(lists.MaxTaps(), 1))),
          offsets(hwy::RoundUpTo(static_cast<std::size_t>(lists.Count()), 2) * tapsPerOutput, 0),
          weights(offsets.size(), 0.0f)
    {
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
                for (std::size_t k = 0; k < list.size(); ++k) {
                    offsets[at + k] = static_cast<std::uint32_t>(
                        static_cast<std::size_t>(list[k].Pixel - first) * floatsPerPixel);
                    weights[at + k] = list[k].Weight;
                }
            }
        }
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

class SimdRowsPass : public RowsPass {
public:
    SimdRowsPass(const ContributorLists& lists, std::size_t sourceSamples)
        : lanes_(hn::Lanes(FloatTag())), outputs_(static_cast<std::size_t>(lists.Count())),
          sourceSamples_(sourceSamples), runs_(lists, 3 * lanes_), in_(Widest(runs_)), out_(3 * kRun),
          samples_(hwy::AllocateAligned<float>(Widest(runs_) * lanes_))
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
        const FloatTag df;
        const std::size_t lanes = lanes_;
        const std::size_t begin = 3 * runs_.stretches[run].first;
        const std::size_t end = 3 * runs_.stretches[run].last + 3;
        in_.Turn(inRows, begin, end, sourceSamples_);
        float* samples = samples_.get();
        for (std::size_t t = 0; t < end - begin; ++t)
            hn::Store(LoadBytes(in_.Runs() + t * lanes), df, samples + t * lanes);

        const std::size_t x0 = run * kRun;
        const std::size_t x1 = std::min(x0 + kRun, outputs_);
        const std::size_t taps = runs_.tapsPerOutput;
        for (std::size_t x = x0; x < x1; x += 2) {
            const std::uint32_t* offsets = runs_.offsets.data() + x * taps;
            const float* weights = runs_.weights.data() + x * taps;
            auto blue0 = hn::Zero(df), green0 = hn::Zero(df), red0 = hn::Zero(df);
            auto blue1 = hn::Zero(df), green1 = hn::Zero(df), red1 = hn::Zero(df);
            for (std::size_t k = 0; k < taps; ++k) {
                const float* pixel0 = samples + offsets[k];
                const float* pixel1 = samples + offsets[taps + k];
                const auto weight0 = hn::Set(df, weights[k]);
                const auto weight1 = hn::Set(df, weights[taps + k]);
                blue0 = hn::MulAdd(hn::Load(df, pixel0), weight0, blue0);
                green0 = hn::MulAdd(hn::Load(df, pixel0 + lanes), weight0, green0);
                red0 = hn::MulAdd(hn::Load(df, pixel0 + 2 * lanes), weight0, red0);
                blue1 = hn::MulAdd(hn::Load(df, pixel1), weight1, blue1);
                green1 = hn::MulAdd(hn::Load(df, pixel1 + lanes), weight1, green1);
                red1 = hn::MulAdd(hn::Load(df, pixel1 + 2 * lanes), weight1, red1);
            }
            std::uint8_t* bytes = out_.Runs() + 3 * (x - x0) * lanes;
            StoreClamped(blue0, bytes);
            StoreClamped(green0, bytes + lanes);
            StoreClamped(red0, bytes + 2 * lanes);
            StoreClamped(blue1, bytes + 3 * lanes);
            StoreClamped(green1, bytes + 4 * lanes);
            StoreClamped(red1, bytes + 5 * lanes);
        }
        out_.TurnBack(outRows, blockRows, 3 * x0, 3 * x1);
    }

    const std::size_t lanes_;
    const std::size_t outputs_;
    const std::size_t sourceSamples_;
    const RowRuns runs_;
    SidewaysBlock in_, out_;
    hwy::AlignedFreeUniquePtr<float[]> samples_;
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

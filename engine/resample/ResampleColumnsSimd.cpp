// SIMD twin of the columns pass (ResampleColumnsScalar.cpp), compiled once per CPU target
// and chosen at run time. It sums every output byte's taps in list order with one fused
// multiply-add each, and rounds and clamps alike, so its results are identical to the byte.
//
// Vectors run along the output row; each tap adds one row of the rows pass.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/resample/ResampleColumnsSimd.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/resample/ResamplePasses.h"
#include "engine/resample/SimdBytes-inl.h"
#include "engine/resample/WindowGroups-inl.h"

#include <cmath>

HWY_BEFORE_NAMESPACE();
namespace selvane {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_NATIVE_FMA

// One vector of outputs at sample s.
HWY_INLINE hn::Vec<FloatTag> SumVector(std::span<const std::uint8_t* const> rows,
                                       std::span<const float> weights, std::size_t s)
{
    const FloatTag df;
    auto sum = hn::Zero(df);
    for (std::size_t k = 0; k < weights.size(); ++k)
        sum = hn::MulAdd(LoadBytes(rows[k] + s), hn::Set(df, weights[k]), sum);
    return sum;
}

// The samples from `from` on that whole strips of four vectors leave over: whole vectors,
// then one at a time in the scalar pass's arithmetic.
void ResampleColumnRest(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                        std::size_t from, std::size_t samples, std::uint8_t* out)
{
    const std::size_t lanes = hn::Lanes(FloatTag());
    std::size_t s = from;
    for (; s + lanes <= samples; s += lanes) StoreClamped(SumVector(rows, weights, s), out + s);
    for (; s < samples; ++s) {
        float sum = 0.0f;
        for (std::size_t k = 0; k < weights.size(); ++k)
            sum = std::fma(static_cast<float>(rows[k][s]), weights[k], sum);
        out[s] = ClampToByte(sum);
    }
}

// The four vectors of one output row's sums in a strip.
struct StripSums {
    hn::Vec<FloatTag> sum[4];

    HWY_INLINE StripSums()
    {
        for (auto& v : sum) v = hn::Zero(FloatTag());
    }

    HWY_INLINE void Add(const hn::Vec<FloatTag>* row, float weight)
    {
        const auto w = hn::Set(FloatTag(), weight);
        for (std::size_t v = 0; v < 4; ++v) sum[v] = hn::MulAdd(row[v], w, sum[v]);
    }

    HWY_INLINE void Store(std::uint8_t* out) const { StoreFourClamped(sum[0], sum[1], sum[2], sum[3], out); }
};

HWY_INLINE void LoadStrip(const std::uint8_t* in, std::size_t lanes, hn::Vec<FloatTag>* row)
{
    for (std::size_t v = 0; v < 4; ++v) row[v] = LoadBytes(in + v * lanes);
}

void ResampleColumnTarget(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                          std::size_t samples, std::uint8_t* out)
{
    const std::size_t lanes = hn::Lanes(FloatTag());
    std::size_t s = 0;
    for (; s + 4 * lanes <= samples; s += 4 * lanes) {
        StripSums sums;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            hn::Vec<FloatTag> row[4];
            LoadStrip(rows[k] + s, lanes, row);
            sums.Add(row, weights[k]);
        }
        sums.Store(out + s);
    }
    ResampleColumnRest(rows, weights, s, samples, out);
}

// The rows both output rows read are loaded and converted once for the two. (Four output rows
// at once, in strips of fewer vectors to keep the sums in registers, were slower.)
void ResampleColumnPairTarget(const ColumnPair& pair, std::size_t samples, std::uint8_t* const* out)
{
    constexpr std::size_t n = ColumnPair::kOutputs;
    const std::size_t lanes = hn::Lanes(FloatTag());
    std::size_t ends[n];
    for (std::size_t i = 0; i < n; ++i) ends[i] = pair.starts[i] + pair.weights[i].size();
    std::size_t s = 0;
    for (; s + 4 * lanes <= samples; s += 4 * lanes) {
        StripSums sums[n];
        ForEachCoveredStretch<n>(pair.starts, ends,
                                 [&]<std::size_t first, std::size_t last>(std::size_t from, std::size_t to) {
                                     for (std::size_t k = from; k < to; ++k) {
                                         hn::Vec<FloatTag> row[4];
                                         LoadStrip(pair.rows[k] + s, lanes, row);
                                         for (std::size_t i = first; i <= last; ++i)
                                             sums[i].Add(row, pair.weights[i][k - pair.starts[i]]);
                                     }
                                 });
        for (std::size_t i = 0; i < n; ++i) sums[i].Store(out[i] + s);
    }
    for (std::size_t i = 0; i < n; ++i)
        ResampleColumnRest(pair.rows.subspan(pair.starts[i], pair.weights[i].size()), pair.weights[i], s,
                           samples, out[i]);
}

#else  // no true fused multiply-add on this target, whose emulation would round twice

void ResampleColumnTarget(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                          std::size_t samples, std::uint8_t* out)
{
    ResampleColumnScalar(rows, weights, samples, out);
}

void ResampleColumnPairTarget(const ColumnPair& pair, std::size_t samples, std::uint8_t* const* out)
{
    ResampleColumnPairScalar(pair, samples, out);
}

#endif

}  // namespace HWY_NAMESPACE
}  // namespace selvane
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace selvane {

HWY_EXPORT(ResampleColumnTarget);

void ResampleColumnSimd(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                        std::size_t samples, std::uint8_t* out)
{
    HWY_DYNAMIC_DISPATCH(ResampleColumnTarget)(rows, weights, samples, out);
}

HWY_EXPORT(ResampleColumnPairTarget);

void ResampleColumnPairSimd(const ColumnPair& pair, std::size_t samples, std::uint8_t* const* out)
{
    HWY_DYNAMIC_DISPATCH(ResampleColumnPairTarget)(pair, samples, out);
}

}  // namespace selvane
#endif

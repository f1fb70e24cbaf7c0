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

#include <cmath>

HWY_BEFORE_NAMESPACE();
namespace selvane {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_NATIVE_FMA

void ResampleColumnTarget(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                          std::size_t samples, std::uint8_t* out)
{
    const FloatTag df;
    const std::size_t lanes = hn::Lanes(df);
    std::size_t s = 0;
    for (; s + 4 * lanes <= samples; s += 4 * lanes) {
        auto a = hn::Zero(df), b = hn::Zero(df), c = hn::Zero(df), d = hn::Zero(df);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const std::uint8_t* in = rows[k] + s;
            const auto weight = hn::Set(df, weights[k]);
            a = hn::MulAdd(LoadBytes(in), weight, a);
            b = hn::MulAdd(LoadBytes(in + lanes), weight, b);
            c = hn::MulAdd(LoadBytes(in + 2 * lanes), weight, c);
            d = hn::MulAdd(LoadBytes(in + 3 * lanes), weight, d);
        }
        StoreClamped(a, out + s);
        StoreClamped(b, out + s + lanes);
        StoreClamped(c, out + s + 2 * lanes);
        StoreClamped(d, out + s + 3 * lanes);
    }
    for (; s + lanes <= samples; s += lanes) {
        auto a = hn::Zero(df);
        for (std::size_t k = 0; k < rows.size(); ++k)
            a = hn::MulAdd(LoadBytes(rows[k] + s), hn::Set(df, weights[k]), a);
        StoreClamped(a, out + s);
    }
    for (; s < samples; ++s) {  // the tail, in the scalar pass's arithmetic
        float sum = 0.0f;
        for (std::size_t k = 0; k < rows.size(); ++k)
            sum = std::fma(static_cast<float>(rows[k][s]), weights[k], sum);
        out[s] = ClampToByte(sum);
    }
}

#else  // no true fused multiply-add on this target, whose emulation would round twice

void ResampleColumnTarget(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                          std::size_t samples, std::uint8_t* out)
{
    ResampleColumnScalar(rows, weights, samples, out);
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

}  // namespace selvane
#endif

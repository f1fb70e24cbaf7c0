// SIMD twins of the two resampler passes, compiled once per CPU target and chosen at run
// time. They sum every output byte's taps in list order with one fused multiply-add each,
// like the scalar passes, and round and clamp alike, so their results are identical to
// the byte. A target without a true fused multiply-add (whose emulation would round twice)
// runs the scalar passes instead.
//
// Rows pass: a block of as many source rows as a vector has lanes is turned on its side
// (sample-major, one float per row), so that one vector holds the same sample of every row
// in the block and each tap is one aligned load and one multiply-add for all those rows.
// Columns pass: vectors run along a row; each tap adds one source row.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/ResampleKernels.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/aligned_allocator.h>
#include <hwy/highway.h>

#include "engine/ResamplePasses.h"

#include <algorithm>
#include <vector>

HWY_BEFORE_NAMESPACE();
namespace selvane {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_NATIVE_FMA

using FloatTag = hn::ScalableTag<float>;
using ByteTag = hn::Rebind<std::uint8_t, FloatTag>;
using IntTag = hn::Rebind<std::int32_t, FloatTag>;

// Clamp to 0 .. 255 and round ties to even, as ClampToByte does; rounding first gives the
// same bytes, since 255 < s <= 255.5 rounds to at most 256 and -0.5 <= s < 0 to zero.
HWY_INLINE void StoreClamped(hn::Vec<FloatTag> sum, std::uint8_t* out)
{
    const FloatTag df;
    const hn::Vec<FloatTag> clamped = hn::Min(hn::Max(hn::Round(sum), hn::Zero(df)), hn::Set(df, 255.0f));
    hn::StoreU(hn::DemoteTo(ByteTag(), hn::ConvertTo(IntTag(), clamped)), ByteTag(), out);
}

HWY_INLINE hn::Vec<FloatTag> LoadBytes(const std::uint8_t* in)
{
    return hn::ConvertTo(FloatTag(), hn::PromoteTo(IntTag(), hn::LoadU(ByteTag(), in)));
}

void ResampleRowsTarget(const Raster& source, Raster& target, const ContributorLists& lists)
{
    const FloatTag df;
    const std::size_t lanes = hn::Lanes(df);
    const std::size_t inSamples = source.Stride();
    const std::size_t outSamples = target.Stride();
    auto block = hwy::AllocateAligned<float>(inSamples * lanes);
    auto outBlock = hwy::AllocateAligned<std::uint8_t>(outSamples * lanes + lanes);

    for (int y0 = 0; y0 < source.Height(); y0 += static_cast<int>(lanes)) {
        const int rows = std::min(static_cast<int>(lanes), source.Height() - y0);
        // Lanes past the last row repeat it; their results are not stored.
        std::vector<const std::uint8_t*> in(lanes);
        for (std::size_t r = 0; r < lanes; ++r) in[r] = source.Row(y0 + std::min(static_cast<int>(r), rows - 1));
        // Tile by tile, so that the block's cache lines are completed while they are hot.
        constexpr std::size_t kTile = 256;
        for (std::size_t s0 = 0; s0 < inSamples; s0 += kTile) {
            const std::size_t end = std::min(inSamples, s0 + kTile);
            for (std::size_t r = 0; r < lanes; ++r) {
                float* column = block.get() + r;
                for (std::size_t s = s0; s < end; ++s) column[s * lanes] = in[r][s];
            }
        }
        for (int x = 0; x < lists.Count(); ++x) {
            auto blue = hn::Zero(df), green = hn::Zero(df), red = hn::Zero(df);
            for (const Contributor& tap : lists.List(x)) {
                const float* pixel = block.get() + 3 * static_cast<std::size_t>(tap.Pixel) * lanes;
                const auto weight = hn::Set(df, tap.Weight);
                blue = hn::MulAdd(hn::Load(df, pixel), weight, blue);
                green = hn::MulAdd(hn::Load(df, pixel + lanes), weight, green);
                red = hn::MulAdd(hn::Load(df, pixel + 2 * lanes), weight, red);
            }
            std::uint8_t* out = outBlock.get() + 3 * static_cast<std::size_t>(x) * lanes;
            StoreClamped(blue, out);
            StoreClamped(green, out + lanes);
            StoreClamped(red, out + 2 * lanes);
        }
        for (std::size_t s0 = 0; s0 < outSamples; s0 += kTile) {
            const std::size_t end = std::min(outSamples, s0 + kTile);
            for (int r = 0; r < rows; ++r) {
                std::uint8_t* out = target.Row(y0 + r);
                const std::uint8_t* column = outBlock.get() + r;
                for (std::size_t s = s0; s < end; ++s) out[s] = column[s * lanes];
            }
        }
    }
}

void ResampleColumnsTarget(const Raster& source, Raster& target, const ContributorLists& lists)
{
    const FloatTag df;
    const std::size_t lanes = hn::Lanes(df);
    const std::size_t samples = source.Stride();
    std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(lists.MaxTaps()));
    std::vector<float> weights(rows.size());

    for (int y = 0; y < lists.Count(); ++y) {
        const auto list = lists.List(y);
        for (std::size_t k = 0; k < list.size(); ++k) {
            rows[k] = source.Row(list[k].Pixel);
            weights[k] = list[k].Weight;
        }
        std::uint8_t* out = target.Row(y);
        std::size_t s = 0;
        for (; s + 4 * lanes <= samples; s += 4 * lanes) {
            auto a = hn::Zero(df), b = hn::Zero(df), c = hn::Zero(df), d = hn::Zero(df);
            for (std::size_t k = 0; k < list.size(); ++k) {
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
            for (std::size_t k = 0; k < list.size(); ++k)
                a = hn::MulAdd(LoadBytes(rows[k] + s), hn::Set(df, weights[k]), a);
            StoreClamped(a, out + s);
        }
        for (; s < samples; ++s) {  // the tail, in the scalar passes' arithmetic
            float sum = 0.0f;
            for (std::size_t k = 0; k < list.size(); ++k) sum = std::fma(static_cast<float>(rows[k][s]), weights[k], sum);
            out[s] = ClampToByte(sum);
        }
    }
}

#else  // no true fused multiply-add on this target

void ResampleRowsTarget(const Raster& source, Raster& target, const ContributorLists& lists)
{
    ResampleRowsScalar(source, target, lists);
}

void ResampleColumnsTarget(const Raster& source, Raster& target, const ContributorLists& lists)
{
    ResampleColumnsScalar(source, target, lists);
}

#endif

}  // namespace HWY_NAMESPACE
}  // namespace selvane
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace selvane {

HWY_EXPORT(ResampleRowsTarget);
HWY_EXPORT(ResampleColumnsTarget);

void ResampleRowsSimd(const Raster& source, Raster& target, const ContributorLists& lists)
{
    HWY_DYNAMIC_DISPATCH(ResampleRowsTarget)(source, target, lists);
}

void ResampleColumnsSimd(const Raster& source, Raster& target, const ContributorLists& lists)
{
    HWY_DYNAMIC_DISPATCH(ResampleColumnsTarget)(source, target, lists);
}

}  // namespace selvane
#endif

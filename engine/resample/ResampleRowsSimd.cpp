// SIMD twin of the rows pass (ResampleRowsScalar.cpp), compiled once per CPU target and
// chosen at run time. It sums every output byte's taps in list order with one fused
// multiply-add each, and rounds and clamps alike, so its results are identical to the byte.
//
// A block of as many source rows as a vector has lanes is turned on its side (sample-major,
// one float per row), so that one vector holds the same sample of every row in the block
// and each tap is one aligned load and one multiply-add for all those rows.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/resample/ResampleRowsSimd.cpp"
#include <hwy/aligned_allocator.h>
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/resample/ResamplePasses.h"
#include "engine/resample/SimdBytes-inl.h"

#include <algorithm>
#include <cmath>
#include <vector>

HWY_BEFORE_NAMESPACE();
namespace selvane {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_NATIVE_FMA

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
        for (std::size_t r = 0; r < lanes; ++r)
            in[r] = source.Row(y0 + std::min(static_cast<int>(r), rows - 1));
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

#else  // no true fused multiply-add on this target, whose emulation would round twice

void ResampleRowsTarget(const Raster& source, Raster& target, const ContributorLists& lists)
{
    ResampleRowsScalar(source, target, lists);
}

#endif

}  // namespace HWY_NAMESPACE
}  // namespace selvane
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace selvane {

HWY_EXPORT(ResampleRowsTarget);

void ResampleRowsSimd(const Raster& source, Raster& target, const ContributorLists& lists)
{
    HWY_DYNAMIC_DISPATCH(ResampleRowsTarget)(source, target, lists);
}

}  // namespace selvane
#endif

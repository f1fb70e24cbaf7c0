// Byte loads and stores shared by the SIMD resampler passes, once per Highway target
// (include it after <hwy/highway.h> inside a file that foreach_target compiles).
// Only for targets with a true fused multiply-add: the passes run the scalar code on others.

#if defined(SELVANE_ENGINE_RESAMPLE_SIMD_BYTES_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef SELVANE_ENGINE_RESAMPLE_SIMD_BYTES_INL_H_
#undef SELVANE_ENGINE_RESAMPLE_SIMD_BYTES_INL_H_
#else
#define SELVANE_ENGINE_RESAMPLE_SIMD_BYTES_INL_H_
#endif

#include <hwy/highway.h>

#include <cstdint>

HWY_BEFORE_NAMESPACE();
namespace selvane {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_NATIVE_FMA

using FloatTag = hn::ScalableTag<float>;
using ByteTag = hn::Rebind<std::uint8_t, FloatTag>;
using IntTag = hn::Rebind<std::int32_t, FloatTag>;
using WordTag = hn::Rebind<std::uint32_t, FloatTag>;

// Clamp to 0 .. 255, then round ties to even: the same bytes as ClampToByte, which rounds
// first. Adding 1.5 x 2^23 rounds (in the default mode) and leaves the integer in the low
// bits of the float, where the narrowing picks it up.
HWY_INLINE void StoreClamped(hn::Vec<FloatTag> sum, std::uint8_t* out)
{
    const FloatTag df;
    const hn::Vec<FloatTag> clamped = hn::Min(hn::Max(sum, hn::Zero(df)), hn::Set(df, 255.0f));
    const auto rounded = hn::BitCast(WordTag(), hn::Add(clamped, hn::Set(df, 12582912.0f)));
    hn::StoreU(hn::U8FromU32(rounded), ByteTag(), out);
}

HWY_INLINE hn::Vec<FloatTag> LoadBytes(const std::uint8_t* in)
{
    return hn::ConvertTo(FloatTag(), hn::PromoteTo(IntTag(), hn::LoadU(ByteTag(), in)));
}

#endif  // HWY_NATIVE_FMA

}  // namespace HWY_NAMESPACE
}  // namespace selvane
HWY_AFTER_NAMESPACE();

#endif  // include guard per target

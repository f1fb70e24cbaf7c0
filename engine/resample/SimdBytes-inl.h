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

#include <cstddef>
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

#if HWY_TARGET == HWY_AVX2
namespace detail {

// The sum, at most 255, rounded to an integer with ties to even. A float past the integers'
// range would become the lowest integer; a negative one, however large, is clamped to 0 by
// the saturating packs below, as is everything else to 0 .. 255.
HWY_INLINE __m256i RoundedBelow256(hn::Vec<FloatTag> sum)
{
    return _mm256_cvtps_epi32(hn::Min(sum, hn::Set(FloatTag(), 255.0f)).raw);
}

// The packs work within 128-bit halves; this puts the 4-byte groups back in order.
HWY_INLINE __m256i GroupsInOrder(__m256i groups)
{
    return _mm256_permutevar8x32_epi32(groups, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
}

}  // namespace detail
#endif

// The bytes of sums a and b, one after the other: 2 x lanes bytes.
HWY_INLINE void StoreTwoClamped(hn::Vec<FloatTag> a, hn::Vec<FloatTag> b, std::uint8_t* out)
{
#if HWY_TARGET == HWY_AVX2
    const __m256i words = _mm256_packs_epi32(detail::RoundedBelow256(a), detail::RoundedBelow256(b));
    const __m256i bytes = detail::GroupsInOrder(_mm256_packus_epi16(words, words));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
#else
    const std::size_t lanes = hn::Lanes(FloatTag());
    StoreClamped(a, out);
    StoreClamped(b, out + lanes);
#endif
}

// The same for four sums: 4 x lanes bytes.
HWY_INLINE void StoreFourClamped(hn::Vec<FloatTag> a, hn::Vec<FloatTag> b, hn::Vec<FloatTag> c,
                                 hn::Vec<FloatTag> d, std::uint8_t* out)
{
#if HWY_TARGET == HWY_AVX2
    const __m256i ab = _mm256_packs_epi32(detail::RoundedBelow256(a), detail::RoundedBelow256(b));
    const __m256i cd = _mm256_packs_epi32(detail::RoundedBelow256(c), detail::RoundedBelow256(d));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), detail::GroupsInOrder(_mm256_packus_epi16(ab, cd)));
#else
    const std::size_t lanes = hn::Lanes(FloatTag());
    StoreTwoClamped(a, b, out);
    StoreTwoClamped(c, d, out + 2 * lanes);
#endif
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

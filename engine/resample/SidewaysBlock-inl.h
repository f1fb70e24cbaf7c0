// A block of as many rows as a float vector has lanes, turned on its side and back, once per
// Highway target (include it after <hwy/highway.h> inside a file that foreach_target
// compiles). On its side, samples begin .. end of the rows become one run of `lanes` bytes
// per sample, byte r from row r, so that one vector load holds that sample of every row.
//
// The turn is a transpose in registers: a vector of each row, then rounds of interleaving
// neighbouring vectors (bytes, then 16-bit pairs, and so on) until each 128-bit block holds
// every row's byte of a few samples. The turn back is the same rounds on vectors of a few
// samples each, and byte rounds after them up to four in all, which leave 16 samples of one
// row in each block. Only blocks of 4, 8 or 16 rows are supported, which covers every 128-,
// 256- and 512-bit target with vectors of one size; Supported() says whether this target is
// one.

#if defined(SELVANE_ENGINE_RESAMPLE_SIDEWAYS_BLOCK_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef SELVANE_ENGINE_RESAMPLE_SIDEWAYS_BLOCK_INL_H_
#undef SELVANE_ENGINE_RESAMPLE_SIDEWAYS_BLOCK_INL_H_
#else
#define SELVANE_ENGINE_RESAMPLE_SIDEWAYS_BLOCK_INL_H_
#endif

#include <hwy/aligned_allocator.h>
#include <hwy/cache_control.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace selvane {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_NATIVE_FMA  // the rows pass runs the scalar code on other targets

class SidewaysBlock {
public:
    using ByteVectorTag = hn::ScalableTag<std::uint8_t>;
    using WordVectorTag = hn::ScalableTag<std::uint32_t>;

    // Farther than a run's stretch, so that the lines come in while this run is worked on.
    static constexpr std::size_t kPrefetchAhead = 512;

    static std::size_t Rows() { return hn::Lanes(WordVectorTag()); }
    static constexpr std::size_t kMaxRows = 16;
    static bool Supported()
    {
        return !HWY_HAVE_SCALABLE && (Rows() == 4 || Rows() == 8 || Rows() == kMaxRows);
    }

    // Room for runs of up to maxSamples samples.
    explicit SidewaysBlock(std::size_t maxSamples)
        : capacity_(hwy::RoundUpTo(maxSamples, hn::Lanes(ByteVectorTag()))),
          runs_(hwy::AllocateAligned<std::uint32_t>(capacity_ * Rows() / 4))
    {
        // The vector steps read a little past the last sample; let that be defined bytes.
        std::memset(runs_.get(), 0, capacity_ * Rows());
    }

    // The runs: run t (t = 0 .. end - begin - 1) at Runs() + t * Rows().
    std::uint8_t* Runs() { return reinterpret_cast<std::uint8_t*>(runs_.get()); }

    // Turns samples begin .. end of rows[0 .. Rows() - 1] on their side into Runs(). A row
    // holds rowEnd samples; nothing past that is read.
    void Turn(const std::uint8_t* const* rows, std::size_t begin, std::size_t end, std::size_t rowEnd)
    {
        const ByteVectorTag d8;
        const std::size_t n8 = hn::Lanes(d8);
        const std::size_t count = end - begin;
        const std::size_t rowCount = Rows();
        std::uint8_t* runs = Runs();
        std::size_t t = 0;
        for (; t < count && begin + t + n8 <= rowEnd; t += n8) {
            const std::size_t s = begin + t;
            // The rows are read in short stretches, one row after another, which the
            // hardware's prefetcher does not follow; fetch the next run's stretch now.
            if (s + kPrefetchAhead < rowEnd)
                for (std::size_t r = 0; r < rowCount; ++r) hwy::Prefetch(rows[r] + s + kPrefetchAhead);
            hn::Vec<ByteVectorTag> v[kMaxRows];
            for (std::size_t r = 0; r < rowCount; ++r) v[r] = hn::LoadU(d8, rows[r] + s);
            TransposeBlocks(v);
            // Vector k now holds, in each 128-bit block b, the samples from 16 b + (16 / rows)
            // x (k with its bits reversed) on, every row's byte of each.
            const std::size_t samplesPerBlock = 16 / rowCount;
            for (std::size_t k = 0; k < rowCount; ++k)
                StoreBlocks(d8, v[k], runs + rowCount * (t + samplesPerBlock * BitsReversed(k)),
                            16 * rowCount);
        }
        for (; t < count; ++t)
            for (std::size_t r = 0; r < rowCount; ++r) runs[rowCount * t + r] = rows[r][begin + t];
    }

    // The reverse: runs 0 .. end - begin - 1 of Runs() go back to samples begin .. end of
    // rows[0 .. rowCount - 1]; nothing else of the rows is written.
    void TurnBack(std::uint8_t* const* rows, std::size_t rowCount, std::size_t begin, std::size_t end)
    {
        const ByteVectorTag d8;
        const std::size_t n8 = hn::Lanes(d8);
        const std::size_t count = end - begin;
        const std::size_t blockRows = Rows();
        const std::uint8_t* runs = Runs();
        std::size_t t = 0;
        for (; t + n8 <= count; t += n8) {
            // Vector k takes, in each 128-bit block b, the samples from 16 b + (16 / rows) k on.
            hn::Vec<ByteVectorTag> v[kMaxRows];
            for (std::size_t k = 0; k < blockRows; ++k)
                v[k] = LoadBlocks(d8, runs + blockRows * t + 16 * k, 16 * blockRows);
            // The same rounds as the turn, then byte rounds up to four in all, leave vector k
            // with 16 samples of one row in each block: the row k with its bits reversed.
            TransposeBlocks(v);
            for (std::size_t round = Rounds(); round < 4; ++round) InterleavePairs<std::uint8_t>(v);
            for (std::size_t k = 0; k < blockRows; ++k) {
                const std::size_t row = BitsReversed(k);
                if (row < rowCount) StoreBlocks(d8, v[k], rows[row] + begin + t, 16);
            }
        }
        for (; t < count; ++t)
            for (std::size_t r = 0; r < rowCount; ++r) rows[r][begin + t] = runs[blockRows * t + r];
    }

private:
    static std::size_t BitsReversed(std::size_t k)
    {
        std::size_t reversed = 0;
        for (std::size_t bit = 1; bit < Rows(); bit <<= 1, k >>= 1) reversed = (reversed << 1) | (k & 1);
        return reversed;
    }

    // One step of the transpose: the vectors in pairs, their elements of type T interleaved,
    // the lower halves of every block first.
    template <typename T>
    static HWY_INLINE void InterleavePairs(hn::Vec<ByteVectorTag>* v)
    {
        const ByteVectorTag d8;
        const hn::Repartition<T, ByteVectorTag> d;
        const std::size_t half = Rows() / 2;
        hn::Vec<ByteVectorTag> lower[kMaxRows / 2], upper[kMaxRows / 2];
        for (std::size_t j = 0; j < half; ++j) {
            const auto a = hn::BitCast(d, v[2 * j]), b = hn::BitCast(d, v[2 * j + 1]);
            lower[j] = hn::BitCast(d8, hn::InterleaveLower(d, a, b));
            upper[j] = hn::BitCast(d8, hn::InterleaveUpper(d, a, b));
        }
        for (std::size_t j = 0; j < half; ++j) {
            v[j] = lower[j];
            v[half + j] = upper[j];
        }
    }

    // log2 of Rows().
    static std::size_t Rounds() { return Rows() == 4 ? 2 : Rows() == 8 ? 3 : 4; }

    // Within every 128-bit block, rows of samples into samples of every row.
    static HWY_INLINE void TransposeBlocks(hn::Vec<ByteVectorTag>* v)
    {
        InterleavePairs<std::uint8_t>(v);
        InterleavePairs<std::uint16_t>(v);
        if (Rows() >= 8) InterleavePairs<std::uint32_t>(v);
        if (Rows() >= 16) InterleavePairs<std::uint64_t>(v);
    }

    // A vector of 128-bit blocks, block b from in + b x stride.
    template <class D>
    static HWY_INLINE hn::Vec<D> LoadBlocks(D d, const std::uint8_t* in, std::size_t stride)
    {
        if constexpr (hn::MaxLanes(D()) <= 16) {
            return hn::LoadU(d, in);
        } else {
            const hn::Half<D> half;
            return hn::Combine(d, LoadBlocks(half, in + hn::MaxLanes(half) / 16 * stride, stride),
                               LoadBlocks(half, in, stride));
        }
    }

    // The 128-bit blocks of v, block b at out + b x stride.
    template <class D>
    static HWY_INLINE void StoreBlocks(D d, hn::Vec<D> v, std::uint8_t* out, std::size_t stride)
    {
        if constexpr (hn::MaxLanes(D()) <= 16) {
            hn::StoreU(v, d, out);
        } else {
            const hn::Half<D> half;
            StoreBlocks(half, hn::LowerHalf(half, v), out, stride);
            StoreBlocks(half, hn::UpperHalf(half, v), out + hn::MaxLanes(half) / 16 * stride, stride);
        }
    }

    std::size_t capacity_;  // samples per run buffer, a whole number of byte vectors
    hwy::AlignedFreeUniquePtr<std::uint32_t[]> runs_;
};

#endif  // HWY_NATIVE_FMA

}  // namespace HWY_NAMESPACE
}  // namespace selvane
HWY_AFTER_NAMESPACE();

#endif  // include guard per target

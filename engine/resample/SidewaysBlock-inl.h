// A block of as many rows as a float vector has lanes, turned on its side and back, once per
// Highway target (include it after <hwy/highway.h> inside a file that foreach_target
// compiles). On its side, samples begin .. end of the rows become one run of `lanes` bytes
// per sample, byte r from row r, so that one vector load holds that sample of every row.
//
// The turn is two interleaves, both done with vectors: the rows of each group of four are
// interleaved byte by byte into 32-bit words (the sample of four rows), then the word streams
// of the groups are interleaved. Only blocks of 4, 8 or 16 rows are supported, which covers
// every 128-, 256- and 512-bit target; Supported() says whether this target is one.

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

class SidewaysBlock {
public:
    using ByteVectorTag = hn::ScalableTag<std::uint8_t>;
    using WordVectorTag = hn::ScalableTag<std::uint32_t>;

    // Farther than a run's stretch, so that the lines come in while this run is worked on.
    static constexpr std::size_t kPrefetchAhead = 512;

    static std::size_t Rows() { return hn::Lanes(WordVectorTag()); }
    static constexpr std::size_t kMaxRows = 16;
    static bool Supported() { return Rows() == 4 || Rows() == 8 || Rows() == kMaxRows; }

    // Room for runs of up to maxSamples samples.
    explicit SidewaysBlock(std::size_t maxSamples)
        : capacity_(hwy::RoundUpTo(maxSamples, hn::Lanes(ByteVectorTag()))),
          groups_(hwy::AllocateAligned<std::uint32_t>(capacity_ * Rows() / 4)),
          runs_(hwy::AllocateAligned<std::uint32_t>(capacity_ * Rows() / 4))
    {
        // The vector steps read a little past the last sample; let that be defined bytes.
        std::memset(groups_.get(), 0, capacity_ * Rows());
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
        for (std::size_t g = 0; g < Rows() / 4; ++g) {
            const std::uint8_t* const* four = rows + 4 * g;
            std::uint8_t* words = Group(g);
            std::size_t t = 0;
            for (; t < count && begin + t + n8 <= rowEnd; t += n8) {
                const std::size_t s = begin + t;
                // The rows are read in short stretches, one row after another, which the
                // hardware's prefetcher does not follow; fetch the next run's stretch now.
                if (s + kPrefetchAhead < rowEnd)
                    for (std::size_t r = 0; r < 4; ++r) hwy::Prefetch(four[r] + s + kPrefetchAhead);
                hn::StoreInterleaved4(hn::LoadU(d8, four[0] + s), hn::LoadU(d8, four[1] + s),
                                      hn::LoadU(d8, four[2] + s), hn::LoadU(d8, four[3] + s), d8,
                                      words + 4 * t);
            }
            for (; t < count; ++t)
                for (std::size_t r = 0; r < 4; ++r) words[4 * t + r] = four[r][begin + t];
        }
        InterleaveGroups(count);
    }

    // The reverse: runs 0 .. end - begin - 1 of Runs() go back to samples begin .. end of
    // rows[0 .. rowCount - 1]; nothing else of the rows is written.
    void TurnBack(std::uint8_t* const* rows, std::size_t rowCount, std::size_t begin, std::size_t end)
    {
        const ByteVectorTag d8;
        const std::size_t n8 = hn::Lanes(d8);
        const std::size_t count = end - begin;
        DeinterleaveGroups(count);
        for (std::size_t g = 0; g < Rows() / 4 && 4 * g < rowCount; ++g) {
            std::uint8_t* const* four = rows + 4 * g;
            const std::size_t rowsHere = std::min<std::size_t>(4, rowCount - 4 * g);
            const std::uint8_t* words = Group(g);
            std::size_t t = 0;
            for (; t + n8 <= count; t += n8) {
                hn::Vec<ByteVectorTag> v[4];
                hn::LoadInterleaved4(d8, words + 4 * t, v[0], v[1], v[2], v[3]);
                for (std::size_t r = 0; r < rowsHere; ++r) hn::StoreU(v[r], d8, four[r] + begin + t);
            }
            for (; t < count; ++t)
                for (std::size_t r = 0; r < rowsHere; ++r) four[r][begin + t] = words[4 * t + r];
        }
    }

private:
    std::uint8_t* Group(std::size_t g)
    {
        // With one group the words are the runs already.
        std::uint32_t* words = Rows() == 4 ? runs_.get() : groups_.get() + g * capacity_;
        return reinterpret_cast<std::uint8_t*>(words);
    }
    std::uint32_t* Words(std::size_t g) { return reinterpret_cast<std::uint32_t*>(Group(g)); }

    void InterleaveGroups(std::size_t count)
    {
        const WordVectorTag d32;
        const std::size_t n = hn::Lanes(d32);
        std::uint32_t* runs = runs_.get();
        if (Rows() == 8) {
            for (std::size_t t = 0; t < count; t += n)
                hn::StoreInterleaved2(hn::Load(d32, Words(0) + t), hn::Load(d32, Words(1) + t), d32,
                                      runs + 2 * t);
        } else if (Rows() == 16) {
            for (std::size_t t = 0; t < count; t += n)
                hn::StoreInterleaved4(hn::Load(d32, Words(0) + t), hn::Load(d32, Words(1) + t),
                                      hn::Load(d32, Words(2) + t), hn::Load(d32, Words(3) + t), d32,
                                      runs + 4 * t);
        }
    }

    void DeinterleaveGroups(std::size_t count)
    {
        const WordVectorTag d32;
        const std::size_t n = hn::Lanes(d32);
        const std::uint32_t* runs = runs_.get();
        if (Rows() == 8) {
            for (std::size_t t = 0; t < count; t += n) {
                hn::Vec<WordVectorTag> a, b;
                hn::LoadInterleaved2(d32, runs + 2 * t, a, b);
                hn::Store(a, d32, Words(0) + t);
                hn::Store(b, d32, Words(1) + t);
            }
        } else if (Rows() == 16) {
            for (std::size_t t = 0; t < count; t += n) {
                hn::Vec<WordVectorTag> a, b, c, d;
                hn::LoadInterleaved4(d32, runs + 4 * t, a, b, c, d);
                hn::Store(a, d32, Words(0) + t);
                hn::Store(b, d32, Words(1) + t);
                hn::Store(c, d32, Words(2) + t);
                hn::Store(d, d32, Words(3) + t);
            }
        }
    }

    std::size_t capacity_;  // samples per run buffer, a whole number of byte vectors
    hwy::AlignedFreeUniquePtr<std::uint32_t[]> groups_;
    hwy::AlignedFreeUniquePtr<std::uint32_t[]> runs_;
};

}  // namespace HWY_NAMESPACE
}  // namespace selvane
HWY_AFTER_NAMESPACE();

#endif  // include guard per target

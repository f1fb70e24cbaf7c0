// The two passes of the resampler, as the driver (Resampler.cpp) feeds them: the rows pass
// a band of source rows at a time, the columns pass one output row at a time. The scalar
// versions are the reference that the SIMD ones must match bit for bit: for every output
// byte, a float sum starts at 0 and adds byte x weight for each tap in list order, each
// product exact and the sum rounded to float after every addition (one fused multiply-add
// per tap); the sum is then clamped to 0 .. 255 and rounded to the nearest integer, ties to
// even.
#pragma once

#include "engine/resample/Contributors.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <span>

namespace selvane {

inline std::uint8_t ClampToByte(float sum)
{
    if (sum > 255.0f) return 255;
    if (sum < 0.0f) return 0;
    return static_cast<std::uint8_t>(std::nearbyint(sum));  // the default mode: ties to even
}

// The rows pass for one pair of widths, set up once (its lists laid out for the kernel) and
// then given the source a band at a time.
class RowsPass {
public:
    static constexpr int kBandRows = 16;  // a whole number of SIMD row blocks on every target

    virtual ~RowsPass() = default;
    // Resamples in[r] (sourceSamples bytes each) into out[r] (3 x lists.Count() bytes) for
    // r = 0 .. rows - 1, rows <= kBandRows.
    virtual void Resample(const std::uint8_t* const* in, std::uint8_t* const* out, int rows) = 0;
};

// lists: the taps along the row; sourceSamples: the bytes of one source row.
std::unique_ptr<RowsPass> MakeRowsPassScalar(const ContributorLists& lists, std::size_t sourceSamples);
// The same on the best SIMD target the CPU offers; identical results.
std::unique_ptr<RowsPass> MakeRowsPassSimd(const ContributorLists& lists, std::size_t sourceSamples);

// The columns pass for one output row: out[s] = the sum over the taps k of rows[k][s] x
// weights[k], for s = 0 .. samples - 1.
void ResampleColumnScalar(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                          std::size_t samples, std::uint8_t* out);
void ResampleColumnSimd(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                        std::size_t samples, std::uint8_t* out);

// The columns pass for two output rows at once, whose taps are rows of one window: output
// row i reads rows[starts[i] + k] with weights[i][k]. The second window starts where or after
// the first one starts and no later than where it ends, and ends where or after it ends. The
// same bytes as one call of the above for each.
struct ColumnPair {
    static constexpr std::size_t kOutputs = 2;
    std::span<const std::uint8_t* const> rows;
    std::size_t starts[kOutputs];
    std::span<const float> weights[kOutputs];
};
void ResampleColumnPairScalar(const ColumnPair& pair, std::size_t samples, std::uint8_t* const* out);
void ResampleColumnPairSimd(const ColumnPair& pair, std::size_t samples, std::uint8_t* const* out);

}  // namespace selvane

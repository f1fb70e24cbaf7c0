// The SIMD passes against the scalar reference, byte for byte, for every filter on every
// target this CPU can run (targets without a true fused multiply-add run the reference
// themselves, and pass trivially).
#include "engine/resample/ResamplePasses.h"
#include "engine/resample/Resampler.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <array>

namespace selvane {
namespace {

using test::Bytes;
using test::RandomRaster;

struct SizeCase {
    const char* name;
    int sourceWidth, sourceHeight, width, height;
};

// The rows kernel works on blocks of as many rows as a vector has lanes (4, 8 or 16) and on
// runs of 64 outputs, turning rows on their side in whole vectors and the rest one byte at a
// time; the sizes below give partial blocks, partial and odd last runs, rows shorter than a
// vector and stretches that reach both edges, as well as the plain shrinks and enlargements.
const SizeCase kSizes[] = {
    {"ShrinkByTwo", 64, 48, 32, 24},
    {"ShrinkOddSizes", 37, 29, 13, 11},
    {"EnlargeOddSizes", 31, 17, 97, 55},
    {"EqualSize", 40, 40, 40, 40},
    {"OnePixelEnlarged", 1, 1, 9, 7},
    {"OnePixelWide", 1, 23, 5, 7},
    {"OnePixelHigh", 19, 1, 4, 3},
    {"TwoPixelsEnlarged", 2, 2, 17, 33},
    {"ToOnePixel", 45, 33, 1, 1},
    {"ThreeRowsShrunk", 101, 3, 50, 2},
    {"RowsShorterThanAVector", 5, 19, 3, 21},
    {"ShrinkOverSeveralRuns", 403, 37, 131, 19},
    {"EnlargeOverSeveralRuns", 150, 21, 333, 35},
    {"ShrinkByTen", 700, 45, 64, 5},
    {"WideToOneColumn", 300, 17, 1, 9},
};

Raster HardEdges(int width, int height)
{
    Raster raster(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) raster.Row(y)[3 * x + c] = ((x / 3 + y / 2 + c) % 2) ? 255 : 0;
    return raster;
}

Raster Resample(const Raster& source, const SizeCase& size, const FilterEntry& filter,
                ResampleKernels kernels)
{
    Raster out(size.width, size.height);
    ResampleRaster(source, out, filter.WeightFunc, filter.Support, kernels);
    return out;
}

class KernelsOnEveryTarget : public ::testing::TestWithParam<SizeCase> {
protected:
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

TEST_P(KernelsOnEveryTarget, MatchTheScalarPassesForEveryFilter)
{
    const SizeCase& size = GetParam();
    // Noise reaches every rounding case; hard edges make the negative lobes overshoot.
    const Raster sources[] = {RandomRaster(size.sourceWidth, size.sourceHeight, 17),
                              HardEdges(size.sourceWidth, size.sourceHeight)};
    int targetsRun = 0;
    for (std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        ++targetsRun;
        for (const FilterEntry& filter : FilterTable)
            for (const Raster& source : sources)
                EXPECT_EQ(Bytes(Resample(source, size, filter, ResampleKernels::Simd)),
                          Bytes(Resample(source, size, filter, ResampleKernels::Scalar)))
                    << hwy::TargetName(target) << ", " << filter.Name;
    }
    EXPECT_GT(targetsRun, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, KernelsOnEveryTarget, ::testing::ValuesIn(kSizes), test::CaseName);

// Two output rows summed together give the bytes of the two summed apart, however their
// windows lie against each other, and for a row length with whole strips, single vectors and
// single samples left over.
TEST_F(KernelsOnEveryTarget, ColumnPairMatchesTheRowsSummedApart)
{
    struct Window {
        std::size_t start, taps;
    };
    const std::array<Window, 2> layouts[] = {
        {{{0, 7}, {2, 7}}},  // overlapping
        {{{0, 5}, {0, 5}}},  // the same rows
        {{{0, 4}, {4, 4}}},  // the second starting where the first ends
        {{{0, 1}, {0, 1}}},  // one row
        {{{0, 5}, {1, 6}}},  // the second ending after the first
    };
    const std::size_t samples = 4 * 16 + 8 + 5;  // a strip of 16-lane vectors, a vector, a rest
    const Raster source = RandomRaster(static_cast<int>(samples), 9, 3);
    std::vector<const std::uint8_t*> rows;
    for (int y = 0; y < source.Height(); ++y) rows.push_back(source.Row(y));
    // Negative lobes and sums past 255, as the filters give.
    const std::vector<float> weights = {-0.07f, 0.31f, 0.9f, 0.44f, -0.12f, 0.02f, 0.5f, 0.61f, -0.3f};
    for (std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        for (const auto& layout : layouts) {
            ColumnPair pair{};
            for (std::size_t i = 0; i < 2; ++i) {
                pair.starts[i] = layout[i].start;
                pair.weights[i] = std::span(weights.data() + i, layout[i].taps);
            }
            const std::size_t end = layout[1].start + layout[1].taps;
            pair.rows = std::span(rows.data(), end);
            std::vector<std::uint8_t> first(samples), second(samples);
            std::uint8_t* out[] = {first.data(), second.data()};
            ResampleColumnPairSimd(pair, samples, out);
            for (std::size_t i = 0; i < 2; ++i) {
                std::vector<std::uint8_t> apart(samples);
                ResampleColumnScalar(pair.rows.subspan(layout[i].start, layout[i].taps), pair.weights[i],
                                     samples, apart.data());
                EXPECT_EQ(i == 0 ? first : second, apart)
                    << hwy::TargetName(target) << ", row " << i << " of a window of " << end << " rows";
            }
        }
    }
}

}  // namespace
}  // namespace selvane

// The SIMD passes against the scalar reference, byte for byte, on every target this CPU
// can run.
#include "engine/resample/Resampler.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <string>

namespace selvane {
namespace {

using test::Bytes;
using test::RandomRaster;

struct SizeCase {
    int sourceWidth, sourceHeight, width, height;
};

// Shrinking, enlarging, equal, odd and one-pixel sizes, and rasters narrower than a filter.
const SizeCase kSizes[] = {
    {64, 48, 32, 24}, {37, 29, 13, 11}, {31, 17, 97, 55}, {40, 40, 40, 40}, {1, 1, 9, 7},
    {1, 23, 5, 7},    {19, 1, 4, 3},    {2, 2, 17, 33},   {45, 33, 1, 1},   {101, 3, 50, 2},
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

class KernelsOnEveryTarget : public ::testing::TestWithParam<int> {};

TEST_P(KernelsOnEveryTarget, MatchTheScalarPassesExactly)
{
    const FilterEntry& filter = FilterTable[static_cast<std::size_t>(GetParam())];
    int targetsRun = 0;
    for (std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        ++targetsRun;
        for (const SizeCase& size : kSizes) {
            for (const Raster& source : {RandomRaster(size.sourceWidth, size.sourceHeight, 17),
                                         HardEdges(size.sourceWidth, size.sourceHeight)}) {
                EXPECT_EQ(Bytes(Resample(source, size, filter, ResampleKernels::Simd)),
                          Bytes(Resample(source, size, filter, ResampleKernels::Scalar)))
                    << hwy::TargetName(target) << " " << filter.Name << " " << size.sourceWidth << "x"
                    << size.sourceHeight << " to " << size.width << "x" << size.height;
            }
        }
    }
    hwy::SetSupportedTargetsForTest(0);
    EXPECT_GT(targetsRun, 0);
}

INSTANTIATE_TEST_SUITE_P(Filters, KernelsOnEveryTarget, ::testing::Range(0, kFilterCount),
                         [](const auto& row) {
                             std::string name(FilterTable[static_cast<std::size_t>(row.param)].Name);
                             return name == "B-Spline" ? std::string("BSpline") : name;
                         });

}  // namespace
}  // namespace selvane

// The resampler runs the rows pass a band of rows ahead of the columns pass, through a ring
// of intermediate rows. Here its results are held against the two passes over whole rasters,
// written out plainly as the resampling is defined, on sizes where the ring wraps many times,
// where one output row reads the whole source and where the height is not a whole band.
#include "engine/resample/Contributors.h"
#include "engine/resample/ResamplePasses.h"
#include "engine/resample/Resampler.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

using test::Bytes;
using test::RandomRaster;

// One pass along rows (columns = false) or columns, over a whole raster.
Raster WholePass(const Raster& in, int width, int height, const ContributorLists& lists, bool columns)
{
    Raster out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                float sum = 0.0f;
                for (const Contributor& tap : lists.List(columns ? y : x)) {
                    const std::uint8_t sample =
                        columns ? in.Row(tap.Pixel)[3 * x + c] : in.Row(y)[3 * tap.Pixel + c];
                    sum = std::fma(static_cast<float>(sample), tap.Weight, sum);
                }
                out.Row(y)[3 * x + c] = ClampToByte(sum);
            }
    return out;
}

Raster WholeTwoPasses(const Raster& source, int width, int height, const FilterEntry& filter)
{
    const ContributorLists alongRows(source.Width(), width, filter.WeightFunc, filter.Support);
    const ContributorLists alongColumns(source.Height(), height, filter.WeightFunc, filter.Support);
    const Raster intermediate = WholePass(source, width, source.Height(), alongRows, false);
    return WholePass(intermediate, width, height, alongColumns, true);
}

struct TallCase {
    const char* name;
    int sourceWidth, sourceHeight, width, height;
};

const TallCase kTall[] = {
    {"ShrinkTall", 9, 203, 5, 61},   {"EnlargeTall", 7, 45, 4, 157}, {"ToOneRow", 6, 90, 4, 1},
    {"NotAWholeBand", 5, 33, 5, 33}, {"OneRowToTall", 4, 1, 3, 40},  {"ShrinkByTenTall", 3, 330, 3, 31},
};

class ResampleBands : public ::testing::TestWithParam<TallCase> {};

TEST_P(ResampleBands, GiveTheBytesOfTheWholeTwoPasses)
{
    const TallCase& size = GetParam();
    const Raster source = RandomRaster(size.sourceWidth, size.sourceHeight, 5);
    for (const FilterEntry& filter : FilterTable) {
        const auto expected = Bytes(WholeTwoPasses(source, size.width, size.height, filter));
        for (ResampleKernels kernels : {ResampleKernels::Scalar, ResampleKernels::Simd}) {
            Raster out(size.width, size.height);
            ResampleRaster(source, out, filter.WeightFunc, filter.Support, kernels);
            EXPECT_EQ(Bytes(out), expected)
                << filter.Name << (kernels == ResampleKernels::Simd ? " simd" : "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResampleBands, ::testing::ValuesIn(kTall), test::CaseName);

}  // namespace
}  // namespace selvane

// A region of an output made alone must be, byte for byte, that region of the whole output:
// for every filter, shrinking and enlarging, at the corners and edges where the taps are
// reflected, and deep inside a tall picture where the bands start far from row 0.
#include "engine/job/OutputRegion.h"
#include "engine/resample/Resampler.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

#include <cstring>

namespace selvane {
namespace {

using test::Bytes;
using test::RandomRaster;

Raster Crop(const Raster& whole, const OutputRegionRect& region)
{
    Raster part(region.width, region.height);
    for (int y = 0; y < region.height; ++y)
        std::memcpy(part.Row(y), whole.Row(region.top + y) + static_cast<std::size_t>(region.left) * 3,
                    part.Stride());
    return part;
}

struct RegionCase {
    const char* name;
    int sourceWidth, sourceHeight, width, height;
    OutputRegionRect region;
};

const RegionCase kRegions[] = {
    {"ShrinkInside", 60, 50, 31, 23, {7, 5, 11, 9}},
    {"ShrinkTopLeftCorner", 60, 50, 31, 23, {0, 0, 6, 4}},
    {"ShrinkBottomRightCorner", 60, 50, 31, 23, {25, 19, 6, 4}},
    {"EnlargeInside", 13, 11, 40, 37, {10, 12, 17, 9}},
    {"EnlargeEdges", 13, 11, 40, 37, {0, 28, 40, 9}},
    {"TheWholeOutput", 20, 30, 9, 14, {0, 0, 9, 14}},
    {"ToOneRow", 16, 40, 7, 1, {2, 0, 3, 1}},
    {"DeepInATallPicture", 6, 900, 4, 450, {1, 300, 2, 40}},
    {"EnlargedTallPictureLate", 5, 120, 6, 700, {0, 611, 6, 89}},
};

class OutputRegionTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(OutputRegionTest, IsThatRegionOfTheWholeOutput)
{
    const RegionCase& size = GetParam();
    const Raster source = RandomRaster(size.sourceWidth, size.sourceHeight, 11);
    for (const FilterEntry& filter : FilterTable) {
        Raster whole(size.width, size.height);
        ResampleRaster(source, whole, filter.WeightFunc, filter.Support);
        const Raster part =
            MakeOutputRegion(source, {size.width, size.height}, SizeOptions{}, filter, size.region);
        EXPECT_EQ(Bytes(part), Bytes(Crop(whole, size.region))) << filter.Name;
    }
}

INSTANTIATE_TEST_SUITE_P(Regions, OutputRegionTest, ::testing::ValuesIn(kRegions), test::CaseName);

TEST(OutputRegion, APictureKeptAtItsOwnSizeShowsItsOwnPixels)
{
    const Raster source = RandomRaster(30, 20, 3);
    SizeOptions options;
    options.rule = ResizeRule::SameWidth;
    options.wh = 600;
    options.noEnlarge = true;
    const OutputRegionRect region{4, 2, 10, 8};
    EXPECT_EQ(Bytes(MakeOutputRegion(source, {30, 20}, options, FilterTable[6], region)),
              Bytes(Crop(source, region)));
}

TEST(OutputRegion, RegionAroundStaysInsideTheOutput)
{
    struct Case {
        int x, y, width, height;
        OutputRegionRect expected;
    };
    const Case cases[] = {
        {500, 400, 1000, 800, {372, 272, 256, 256}},  // centred
        {10, 790, 1000, 800, {0, 544, 256, 256}},     // pushed in from the corner
        {999, 0, 1000, 800, {744, 0, 256, 256}},
        {50, 60, 100, 300, {0, 0, 100, 256}},  // narrower than the region: all of its width
        {3, 3, 7, 5, {0, 0, 7, 5}},            // smaller: all of it
    };
    for (const Case& c : cases) {
        const OutputRegionRect region = RegionAround(c.x, c.y, c.width, c.height, 256);
        EXPECT_EQ((std::array{region.left, region.top, region.width, region.height}),
                  (std::array{c.expected.left, c.expected.top, c.expected.width, c.expected.height}))
            << c.x << "," << c.y << " in " << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace selvane

#include "engine/resample/Resampler.h"
#include "engine/resample/Contributors.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

using test::BlueValues;
using test::Bytes;
using test::GreyRaster;
using test::RandomRaster;
using Rows = std::vector<std::vector<std::uint8_t>>;

Raster Resample(const Raster& source, int width, int height, int filterIndex)
{
    Raster destination(width, height);
    const FilterEntry& filter = FilterTable[static_cast<std::size_t>(filterIndex)];
    ResampleRaster(source, destination, filter.WeightFunc, filter.Support);
    return destination;
}

constexpr int kBox = 0, kTriangle = 1, kHermite = 2, kBell = 3, kLanczos3 = 4, kMitchell = 5, kBSpline = 6;

struct ExactCase {
    const char* what;
    int filter;
    Rows source;
    int width, height;
    Rows expected;
};

class ExactResults : public ::testing::TestWithParam<ExactCase> {};

TEST_P(ExactResults, MatchTheHandWorkedValues)
{
    const ExactCase& c = GetParam();
    EXPECT_EQ(BlueValues(Resample(GreyRaster(c.source), c.width, c.height, c.filter)), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Resampler, ExactResults,
    ::testing::Values(
        // The middle sum is 127.5, which rounds to the even 128.
        ExactCase{"triangle enlarge", kTriangle, {{0, 255}}, 3, 1, {{0, 128, 255}}},
        // Taps 1,0,1 and 2,3,3: the left edge reflects without repeating, the right repeats.
        ExactCase{"box shrink", kBox, {{0, 30, 60, 90}}, 2, 1, {{20, 80}}},
        // +0.5 belongs to the box, -0.5 does not: the middle copies the first pixel.
        ExactCase{"box enlarge", kBox, {{10, 200}}, 3, 1, {{10, 10, 200}}},
        ExactCase{"box enlarge vertically", kBox, {{10}, {200}}, 1, 3, {{10}, {10}, {200}}},
        // Equal size softens with these three: weights 1/8 3/4 1/8, 1/6 2/3 1/6, 1/18 8/9 1/18.
        // The left edge mirrors pixel 1, the right edge repeats the last pixel.
        ExactCase{"bell at scale 1", kBell, {{0, 240, 0}}, 3, 1, {{60, 180, 30}}},
        ExactCase{"b-spline at scale 1", kBSpline, {{0, 240, 0}}, 3, 1, {{80, 160, 40}}},
        ExactCase{"mitchell at scale 1", kMitchell, {{0, 180, 0}}, 3, 1, {{20, 160, 10}}},
        // A one-pixel source: every destination pixel gets its value.
        ExactCase{"one pixel, box", kBox, {{77}}, 4, 3, Rows(3, {77, 77, 77, 77})},
        ExactCase{"one pixel, triangle", kTriangle, {{77}}, 3, 2, Rows(2, {77, 77, 77})},
        ExactCase{"one pixel, hermite", kHermite, {{77}}, 2, 2, Rows(2, {77, 77})},
        // One destination pixel from a wider source: centred, the box averages the row.
        ExactCase{"single destination", kBox, {{0, 30, 60, 90}}, 1, 1, {{45}}},
        // Lobes at a hard edge: position 3 sums to about -28 and 7 to about 281, both clamped;
        // 5 sits between the pixels (255 x 0.497), 1 and 9 ring (6 and 247).
        ExactCase{"lanczos edge",
                  kLanczos3,
                  {{0, 0, 0, 255, 255, 255}},
                  11,
                  1,
                  {{0, 6, 0, 0, 0, 127, 255, 255, 255, 247, 255}}}));

class EveryFilter : public ::testing::TestWithParam<int> {};

TEST_P(EveryFilter, HandlesSourcesNarrowerThanItsReach)
{
    // Taps reflected outside a one- or two-pixel source must stay inside it; the sanitizer
    // build catches a stray read.
    for (int size : {1, 2, 3}) {
        const Raster source = RandomRaster(size, size, 5);
        for (int target : {1, 2, 5, 17}) {
            const Raster out = Resample(source, target, target, GetParam());
            EXPECT_EQ(out.Width(), target);
        }
    }
}

TEST_P(EveryFilter, IsDeterministic)
{
    const Raster source = RandomRaster(33, 21, 3);
    EXPECT_EQ(Bytes(Resample(source, 16, 10, GetParam())), Bytes(Resample(source, 16, 10, GetParam())));
    EXPECT_EQ(Bytes(Resample(source, 70, 45, GetParam())), Bytes(Resample(source, 70, 45, GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Resampler, EveryFilter, ::testing::Range(0, kFilterCount));

TEST(Resampler, ReproducesTheSourceAtEqualSizeWithInterpolatingFilters)
{
    const Raster source = RandomRaster(13, 9, 7);
    for (int filter : {kBox, kTriangle, kHermite, kLanczos3})
        EXPECT_EQ(Bytes(Resample(source, 13, 9, filter)), Bytes(source)) << FilterTable[filter].Name;
}

TEST(Resampler, TreatsTheThreeChannelsAlike)
{
    Raster source = GreyRaster({{0, 30, 60, 90}});
    source.Row(0)[1] = 90;  // green of the first pixel
    const Raster out = Resample(source, 2, 1, kBox);
    EXPECT_EQ(out.Row(0)[0], 20);
    EXPECT_EQ(out.Row(0)[1], 50);  // taps 1, 0, 1 read 30, 90, 30
    EXPECT_EQ(out.Row(0)[2], 20);
}

TEST(Resampler, RefusesAnEmptySourceWithoutTouchingTheDestination)
{
    Raster destination = GreyRaster({{9, 9}});
    const FilterEntry& box = FilterTable[kBox];
    for (auto [w, h] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{0, 0}}) {
        const Raster source(w, h);
        try {
            ResampleRaster(source, destination, box.WeightFunc, box.Support);
            FAIL() << "no error for " << w << " x " << h;
        } catch (const ResampleError& error) {
            EXPECT_STREQ(error.what(), "Source bitmap too small");
        }
        EXPECT_EQ(BlueValues(destination), (Rows{{9, 9}}));
    }
}

TEST(Contributors, ReflectAtBothEdgesAndSkipZeroWeights)
{
    const ContributorLists lists(4, 2, BoxFilter, 0.5f);
    ASSERT_EQ(lists.Count(), 2);
    std::vector<int> first, second;
    for (const Contributor& tap : lists.List(0)) first.push_back(tap.Pixel);
    for (const Contributor& tap : lists.List(1)) second.push_back(tap.Pixel);
    EXPECT_EQ(first, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(second, (std::vector<int>{2, 3, 3}));
    for (int i = 0; i < 2; ++i)
        for (const Contributor& tap : lists.List(i)) EXPECT_FLOAT_EQ(tap.Weight, 1.0f / 3.0f);
}

}  // namespace
}  // namespace selvane

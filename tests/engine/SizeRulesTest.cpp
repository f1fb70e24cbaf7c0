#include "engine/job/SizeRules.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace selvane {
namespace {

TEST(ResizeFactor, CombinesTheWholeAndTenthsFields)
{
    EXPECT_DOUBLE_EQ(GetResizeFactor(2, 5), 2.5);
    EXPECT_DOUBLE_EQ(GetResizeFactor(3, 0), 3.0);
    EXPECT_DOUBLE_EQ(GetResizeFactor(0, 0), 1.0);
    EXPECT_DOUBLE_EQ(GetResizeFactor(10, 9), 10.9);
    EXPECT_DOUBLE_EQ(GetResizeFactor(2, -1), 1.9);  // typed, not yet borrowed
}

struct SizeCase {
    ResizeRule rule;
    int round, zecimal;
    std::int64_t w, h;
    std::int64_t expectedWidth, expectedHeight;
    int wh = 600;
};

class SizeRuleCases : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeRuleCases, GiveTheExpectedSize)
{
    const SizeCase& c = GetParam();
    SizeOptions options;
    options.rule = c.rule;
    options.round = c.round;
    options.zecimal = c.zecimal;
    options.width = 640;
    options.height = 10;
    options.wh = c.wh;
    const auto size = ComputeOutputSize(options, c.w, c.h);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, c.expectedWidth);
    EXPECT_EQ(size->height, c.expectedHeight);
}

INSTANTIATE_TEST_SUITE_P(Rules, SizeRuleCases,
                         ::testing::Values(
                             // Ties go to even.
                             SizeCase{ResizeRule::Decrease, 2, 0, 5, 7, 2, 4},
                             SizeCase{ResizeRule::Increase, 1, 5, 3, 5, 4, 8},
                             SizeCase{ResizeRule::Decrease, 2, 0, 4000, 3000, 2000, 1500},
                             SizeCase{ResizeRule::Decrease, 2, 0, 1, 1, 0, 0},  // no clamping
                             SizeCase{ResizeRule::Increase, 10, 9, 30000, 20000, 327000, 218000},  // 64-bit
                             SizeCase{ResizeRule::SameSize, 0, 0, 4000, 3000, 640, 10},
                             SizeCase{ResizeRule::SameWidth, 0, 0, 4000, 3000, 600, 450},
                             SizeCase{ResizeRule::SameWidth, 0, 0, 3000, 4000, 600, 800},
                             SizeCase{ResizeRule::SameHeight, 0, 0, 4000, 3000, 800, 600},
                             SizeCase{ResizeRule::SameHeight, 0, 0, 3000, 4000, 450, 600},
                             // Within a double's rounding of a half: a double quotient rounds
                             // onto the half and then to even, the wider one sees the side.
                             SizeCase{ResizeRule::Decrease, 3, 2, 4000, 3000, 1250, 937},
                             SizeCase{ResizeRule::Decrease, 1, 6, 1500, 1500, 937, 937},
                             SizeCase{ResizeRule::Decrease, 1, 6, 20, 12, 12, 7},
                             SizeCase{ResizeRule::Decrease, 1, 2, 15, 8, 13, 7},
                             SizeCase{ResizeRule::Increase, 7, 7, 52, 5, 400, 39},
                             SizeCase{ResizeRule::SameHeight, 0, 0, 11, 6, 149, 81, 81}));

// The size a factor rule must give, worked out exactly: the factor is a double, m / 2^k,
// so w / f = w * 2^k / m and w * f = w * m / 2^k are ratios of integers.
__extension__ typedef __int128 Wide;  // 64-bit sizes times a 53-bit mantissa

std::int64_t ExactRounded(Wide numerator, Wide denominator)
{
    const Wide quotient = numerator / denominator;
    const Wide twiceRest = 2 * (numerator % denominator);
    const bool up = twiceRest > denominator || (twiceRest == denominator && (quotient & 1) != 0);
    return static_cast<std::int64_t>(quotient + (up ? 1 : 0));
}

TEST(SizeRules, EveryFactorRoundsEveryWidthAsExactArithmeticDoes)
{
    SizeOptions options;
    for (int tenths = 11; tenths <= 109; ++tenths) {
        options.round = tenths / 10;
        options.zecimal = tenths % 10;
        int exponent = 0;
        const double mantissa = std::frexp(GetResizeFactor(options.round, options.zecimal), &exponent);
        const auto m = static_cast<Wide>(std::ldexp(mantissa, 53));
        const int k = 53 - exponent;
        for (std::int64_t w = 1; w <= 6000; ++w) {
            options.rule = ResizeRule::Decrease;
            ASSERT_EQ(ComputeOutputSize(options, w, 1)->width, ExactRounded(static_cast<Wide>(w) << k, m))
                << w << " / " << tenths / 10.0;
            options.rule = ResizeRule::Increase;
            ASSERT_EQ(ComputeOutputSize(options, w, 1)->width, ExactRounded(w * m, static_cast<Wide>(1) << k))
                << w << " x " << tenths / 10.0;
        }
    }
}

// The rules that look at each picture's own shape, and never-enlarge, against sizes worked
// out by hand.
struct ShapeCase {
    const char* name;
    SizeOptions options;
    std::int64_t w, h;
    std::int64_t expectedWidth, expectedHeight;
    bool keepsOwnPixels = false;
};

SizeOptions Rule(ResizeRule rule, bool noEnlarge = false)
{
    SizeOptions options;
    options.rule = rule;
    options.noEnlarge = noEnlarge;
    return options;
}

SizeOptions Fit(int width, int height, bool noEnlarge = false)
{
    SizeOptions options = Rule(ResizeRule::FitBox, noEnlarge);
    options.fitWidth = width;
    options.fitHeight = height;
    return options;
}

SizeOptions Side(ResizeRule rule, int side, bool noEnlarge = false)
{
    SizeOptions options = Rule(rule, noEnlarge);
    options.wh = side;
    return options;
}

SizeOptions Percent(int percent, bool noEnlarge = false)
{
    SizeOptions options = Rule(ResizeRule::Percent, noEnlarge);
    options.percent = percent;
    return options;
}

SizeOptions SameSize(int width, int height)
{
    SizeOptions options = Rule(ResizeRule::SameSize, true);
    options.width = width;
    options.height = height;
    return options;
}

class ShapeRuleCases : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeRuleCases, GiveTheHandWorkedSize)
{
    const ShapeCase& c = GetParam();
    const auto size = ComputeOutputSize(c.options, c.w, c.h);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, c.expectedWidth);
    EXPECT_EQ(size->height, c.expectedHeight);
    EXPECT_EQ(KeepsOwnPixels(c.options, c.w, c.h, *size), c.keepsOwnPixels);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ShapeRuleCases,
    ::testing::Values(
        // 4000 x 768 < 1366 x 3000: the height limits, 768 / 0.75.
        ShapeCase{"FitLandscapeByHeight", Fit(1366, 768), 4000, 3000, 1024, 768},
        ShapeCase{"FitPortrait", Fit(1920, 1080), 3000, 4000, 810, 1080},
        ShapeCase{"FitLandscapeByWidth", Fit(1920, 1080), 4000, 2000, 1920, 960},
        // The same shape as the box: the width limits, and both sides are the box's.
        ShapeCase{"FitExactShape", Fit(30, 10), 3, 1, 30, 10},
        // One pixel off the box's shape either way: decided in integers, not in ratios.
        ShapeCase{"FitJustTallerThanTheBox", Fit(1366, 768), 1367, 769, 1365, 768},
        ShapeCase{"FitJustWiderThanTheBox", Fit(1366, 768), 1368, 769, 1366, 768},
        ShapeCase{"LongSidePortrait", Side(ResizeRule::LongSide, 1000), 3000, 4000, 750, 1000},
        ShapeCase{"LongSideLandscape", Side(ResizeRule::LongSide, 1000), 4000, 3000, 1000, 750},
        ShapeCase{"LongSideSquare", Side(ResizeRule::LongSide, 1000), 500, 500, 1000, 1000},
        ShapeCase{"ShortSidePortrait", Side(ResizeRule::ShortSide, 1000), 3000, 4000, 1000, 1333},
        ShapeCase{"ShortSideLandscape", Side(ResizeRule::ShortSide, 1000), 4000, 3000, 1333, 1000},
        ShapeCase{"PercentThird", Percent(33), 333, 500, 110, 165},
        // 3.5 and 2.5: halves go to even; 0.5 exactly, which 5 x 0.1 in floating point is not.
        ShapeCase{"PercentHalfTies", Percent(50), 7, 5, 4, 2},
        ShapeCase{"PercentTenthTies", Percent(10), 5, 15, 0, 2},
        ShapeCase{"PercentLargest", Percent(1000), 3, 2, 30, 20},
        // Never enlarge: a larger size gives the picture's own, which it keeps untouched.
        ShapeCase{"NoEnlargeSmallPictureInABox", Fit(1920, 1080, true), 800, 600, 800, 600, true},
        ShapeCase{"NoEnlargeLargePictureInABox", Fit(1920, 1080, true), 4000, 3000, 1440, 1080},
        ShapeCase{"NoEnlargeOneSideOver", Fit(1920, 1080, true), 1000, 1100, 982, 1080},
        ShapeCase{"NoEnlargeLongSide", Side(ResizeRule::LongSide, 100, true), 40, 30, 40, 30, true},
        ShapeCase{"NoEnlargeSameWidth", Side(ResizeRule::SameWidth, 600, true), 400, 300, 400, 300, true},
        ShapeCase{"NoEnlargePercent", Percent(150, true), 40, 30, 40, 30, true},
        ShapeCase{"NoEnlargeAtOwnSize", Percent(100, true), 40, 30, 40, 30, true},
        ShapeCase{"NoEnlargeShrinks", Percent(50, true), 40, 30, 20, 15},
        // Same size holds each side to the picture's, proportions or not.
        ShapeCase{"NoEnlargeSameSizeCapsEachSide", SameSize(640, 10), 300, 200, 300, 10},
        ShapeCase{"NoEnlargeSameSizeBothOver", SameSize(640, 480), 300, 200, 300, 200, true},
        // Increase is what it says, whatever the box says.
        ShapeCase{"IncreaseIgnoresNoEnlarge", Rule(ResizeRule::Increase, true), 40, 30, 80, 60},
        // At its own size without never-enlarge, a picture is resampled as before.
        ShapeCase{"OwnSizeWithoutNoEnlarge", Percent(100), 40, 30, 40, 30}),
    test::CaseName);

TEST(SizeRules, RefuseAFactorOfOneOrLessOnlyForTheFactorRules)
{
    SizeOptions options;
    for (auto [round, zecimal] : {std::pair{1, 0}, std::pair{0, 0}, std::pair{0, 5}}) {
        options.round = round;
        options.zecimal = zecimal;
        options.rule = ResizeRule::Decrease;
        EXPECT_FALSE(ComputeOutputSize(options, 100, 100));
        options.rule = ResizeRule::Increase;
        EXPECT_FALSE(ComputeOutputSize(options, 100, 100));
        options.rule = ResizeRule::SameWidth;
        EXPECT_TRUE(ComputeOutputSize(options, 100, 100));
    }
}

}  // namespace
}  // namespace selvane

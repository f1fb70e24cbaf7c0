#include "engine/job/SizeRules.h"

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

#include "engine/job/SizeRules.h"

#include <gtest/gtest.h>

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
    options.wh = 600;
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
                             SizeCase{ResizeRule::SameHeight, 0, 0, 3000, 4000, 450, 600}));

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

#include "update/UpdateSchedule.h"

#include <gtest/gtest.h>

#include <chrono>

namespace selvane {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

// A day D at midnight, local wall-clock time.
constexpr local_seconds kDayD = local_days(2024y / March / 28);
constexpr local_seconds kNow = kDayD + days(2) + 15h;

struct DueCase {
    const char* row;
    bool manual;
    int interval;
    local_seconds lastCheck;
    bool due;
};

class IsUpdateCheckDueTest : public ::testing::TestWithParam<DueCase> {};

TEST_P(IsUpdateCheckDueTest, FollowsTheRule)
{
    const DueCase& c = GetParam();
    EXPECT_EQ(IsUpdateCheckDue(c.manual, c.interval, c.lastCheck, kNow), c.due) << c.row;
}

INSTANTIATE_TEST_SUITE_P(
    Table, IsUpdateCheckDueTest,
    ::testing::Values(
        DueCase{"automatic, interval below 1", false, 0, local_days(1899y / December / 30), false},
        DueCase{"automatic, interval below 1", false, -3, kNow - days(100), false},
        DueCase{"automatic, last check + interval later than now", false, 4, kDayD, false},
        DueCase{"automatic, last check + interval later than now", false, 1, kNow - 1s, false},
        DueCase{"automatic, last check + interval is now", false, 2, kNow - days(2), true},
        DueCase{"automatic, last check + interval earlier", false, 365, kNow - days(366), true},
        DueCase{"automatic, never checked (time 0)", false, 4, local_days(1899y / December / 30), true},
        DueCase{"manual, interval 0", true, 0, kNow, true},
        DueCase{"manual, checked just now", true, 4, kNow, true}));

TEST(UpdateScheduleTest, IsDueFromMidnightStartingDayDPlusInterval)
{
    const local_seconds dueFrom = local_days(2024y / April / 1);
    EXPECT_FALSE(IsUpdateCheckDue(false, 4, kDayD, dueFrom - 1s));
    EXPECT_TRUE(IsUpdateCheckDue(false, 4, kDayD, dueFrom));
}

}  // namespace
}  // namespace selvane

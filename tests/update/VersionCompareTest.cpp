#include "update/VersionCompare.h"

#include <gtest/gtest.h>

#include <string>

namespace selvane {
namespace {

struct VersionCase {
    TVersionFormat format;
    std::string current;
    std::string found;
    bool newer;
};

class IsNewerVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(IsNewerVersionTest, ComparesFoundWithCurrent)
{
    const VersionCase& c = GetParam();
    EXPECT_EQ(IsNewerVersion(c.format, c.current, c.found), c.newer)
        << "current " << c.current << ", found " << c.found;
}

constexpr auto kStandard = TVersionFormat::vfStandard;
constexpr auto kString = TVersionFormat::vfString;
constexpr auto kNumber = TVersionFormat::vfNumber;

INSTANTIATE_TEST_SUITE_P(Standard, IsNewerVersionTest,
                         ::testing::Values(VersionCase{kStandard, "1.5.3.56", "1.5.3.56", false},
                                           VersionCase{kStandard, "1.5.3.56", "1.5.4.0", true},
                                           VersionCase{kStandard, "1.5.3.56", "1.5.2.99", false},
                                           VersionCase{kStandard, "1.5.3.56", "1.5.3.57", true},
                                           VersionCase{kStandard, "1.9.0.0", "1.10.0.0", true},
                                           VersionCase{kStandard, "2.0", "1.99", false},
                                           // Missing components count as 0.
                                           VersionCase{kStandard, "1.5", "1.5.0", false},
                                           VersionCase{kStandard, "1.5", "1.5.1", true},
                                           VersionCase{kStandard, "1.5.3", "1.5", false},
                                           VersionCase{kStandard, "", "1.0", true},
                                           VersionCase{kStandard, "", "0", false},
                                           // Text that is not an integer counts as 0.
                                           VersionCase{kStandard, "1.x.3", "1.0.4", true},
                                           VersionCase{kStandard, "1.5.3.56", "beta", false},
                                           VersionCase{kStandard, "1.5", "1.5 ", false}));

INSTANTIATE_TEST_SUITE_P(String, IsNewerVersionTest,
                         ::testing::Values(VersionCase{kString, "1.9", "1.10", false},
                                           VersionCase{kString, "a", "b", true},
                                           VersionCase{kString, "B", "a", true},
                                           VersionCase{kString, "1.5", "1.5", false},
                                           VersionCase{kString, "1.5", "1.5a", true}));

INSTANTIATE_TEST_SUITE_P(
    Number, IsNewerVersionTest,
    ::testing::Values(VersionCase{kNumber, "1.5", "1.6", true}, VersionCase{kNumber, "1.5", "1.5", false},
                      VersionCase{kNumber, "2", "10", true}, VersionCase{kNumber, "1.50", "1.5", false},
                      VersionCase{kNumber, "1.5", "x", false}, VersionCase{kNumber, "1.5.3", "2", false},
                      VersionCase{kNumber, "1,5", "2", false}, VersionCase{kNumber, "1", "inf", false},
                      VersionCase{kNumber, "1", "", false}));

}  // namespace
}  // namespace selvane

#include "platform/Administrator.h"
#include "platform/ProgramPath.h"
#include "platform/ProgramVersion.h"
#include "tests/support/RunUnprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace selvane::platform {
namespace {

using selvane::test::RunUnprivileged;

TEST(ProgramPathTest, NamesThisRunningProgramAndCanBeOverridden)
{
    const std::string path = ProgramPath();
    EXPECT_EQ(std::filesystem::path(path).filename(), "selvane_platform_tests");
    EXPECT_TRUE(std::filesystem::path(path).is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(path));

    OverrideProgramPathForTesting("/opt/elsewhere/run");
    EXPECT_EQ(ProgramPath(), "/opt/elsewhere/run");
    OverrideProgramPathForTesting(std::nullopt);
    EXPECT_EQ(ProgramPath(), path);
}

TEST(ProgramVersionTest, IsTheVersionOfTheBuild)
{
    EXPECT_EQ(ProgramVersion(), "1.5.3.56");
}

TEST(AdministratorTest, AnUnprivilegedUserIsNoAdministrator)
{
    EXPECT_EQ(RunUnprivileged([] { return std::to_string(IsAdministrator()); }), "0");
}

TEST(AdministratorTest, TestsCanPretendEitherWay)
{
    const bool real = IsAdministrator();
    OverrideAdministratorForTesting(!real);
    EXPECT_EQ(IsAdministrator(), !real);
    OverrideAdministratorForTesting(std::nullopt);
    EXPECT_EQ(IsAdministrator(), real);
}

}  // namespace
}  // namespace selvane::platform

#include "platform/CurrentFolder.h"

#include "platform/OsError.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace selvane::platform {
namespace {

using selvane::test::TestSandbox;

class CurrentFolderTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentFolder(previous_); }

    std::string previous_ = GetCurrentFolder();
    TestSandbox sandbox_;
};

TEST_F(CurrentFolderTest, ChangesIntoAFolderAndReportsItAsTheSystemDoes)
{
    const auto folder = sandbox_.Root() / "My Pictures 12:30";
    std::filesystem::create_directories(folder);
    SetCurrentFolder(folder.string() + "/");
    EXPECT_EQ(GetCurrentFolder(), std::filesystem::canonical(folder).string());

    SetCurrentFolder("..");
    EXPECT_EQ(GetCurrentFolder(), std::filesystem::canonical(sandbox_.Root()).string());
}

TEST_F(CurrentFolderTest, AFailedChangeCarriesTheFolderAndTheSystemsReasonAndChangesNothing)
{
    const std::string before = GetCurrentFolder();
    const std::string missing = (sandbox_.Root() / "gone").string();
    try {
        SetCurrentFolder(missing);
        FAIL() << "no error";
    } catch (const OsError& error) {
        EXPECT_EQ(error.ErrorNumber(), ENOENT);
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find(ErrorText(ENOENT)), std::string::npos) << error.what();
    }
    EXPECT_EQ(GetCurrentFolder(), before);
}

TEST_F(CurrentFolderTest, ReadingAFolderThatWasRemovedIsAnError)
{
    const auto folder = sandbox_.Root() / "removed";
    std::filesystem::create_directories(folder);
    SetCurrentFolder(folder.string());
    std::filesystem::remove(folder);
    EXPECT_THROW(GetCurrentFolder(), OsError);
}

}  // namespace
}  // namespace selvane::platform

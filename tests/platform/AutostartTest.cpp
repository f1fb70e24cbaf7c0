#include "platform/Autostart.h"

#include "platform/OsError.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

namespace selvane::platform {
namespace {

using selvane::test::TestSandbox;

class AutostartTest : public ::testing::Test {
protected:
    std::filesystem::path Folder() const { return sandbox_.Home() / ".config/autostart"; }

    TestSandbox sandbox_;
};

TEST_F(AutostartTest, WritesTheEntryCreatingTheFolder)
{
    EXPECT_TRUE(WriteAutostartEntry("SelvaneResizer", "/opt/Selvane Resizer/selvane-resizer"));
    EXPECT_EQ(TestSandbox::Names(Folder()), std::set<std::string>{"SelvaneResizer.desktop"});
    EXPECT_EQ(TestSandbox::ReadFile(Folder() / "SelvaneResizer.desktop"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=SelvaneResizer\n"
              "Exec=\"/opt/Selvane Resizer/selvane-resizer\"\n");
}

TEST_F(AutostartTest, RewritingReplacesTheEntry)
{
    ASSERT_TRUE(WriteAutostartEntry("SelvaneResizer", "/old/place/run"));
    ASSERT_TRUE(WriteAutostartEntry("SelvaneResizer", "/new/place/run"));
    EXPECT_EQ(TestSandbox::Names(Folder()), std::set<std::string>{"SelvaneResizer.desktop"});
    EXPECT_NE(TestSandbox::ReadFile(Folder() / "SelvaneResizer.desktop").find("Exec=\"/new/place/run\""),
              std::string::npos);
}

TEST_F(AutostartTest, FollowsXdgConfigHome)
{
    sandbox_.SetVariable("XDG_CONFIG_HOME", (sandbox_.Root() / "conf").string());
    ASSERT_TRUE(WriteAutostartEntry("SelvaneResizer", "/p"));
    EXPECT_TRUE(std::filesystem::exists(sandbox_.Root() / "conf/autostart/SelvaneResizer.desktop"));
}

TEST_F(AutostartTest, RemovingTakesAwayOnlyThatEntryAndAMissingOneIsNoError)
{
    TestSandbox::WriteFile(Folder() / "other.desktop", "keep");
    ASSERT_TRUE(WriteAutostartEntry("SelvaneResizer", "/p"));
    RemoveAutostartEntry("SelvaneResizer");
    EXPECT_EQ(TestSandbox::Names(Folder()), std::set<std::string>{"other.desktop"});
    RemoveAutostartEntry("SelvaneResizer");
    EXPECT_EQ(TestSandbox::Names(Folder()), std::set<std::string>{"other.desktop"});
}

TEST_F(AutostartTest, WithoutAnyConfigFolderNothingIsWritten)
{
    sandbox_.SetVariable("HOME", std::nullopt);
    sandbox_.SetVariable("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_FALSE(WriteAutostartEntry("SelvaneResizer", "/p"));
    RemoveAutostartEntry("SelvaneResizer");
    EXPECT_TRUE(TestSandbox::Names(sandbox_.Home()).empty());
}

TEST_F(AutostartTest, AFolderThatCannotBeMadeIsSilentButAnEntryThatCannotBeWrittenThrows)
{
    // A file where the config folder should be: no autostart folder can exist below it.
    sandbox_.SetVariable("XDG_CONFIG_HOME", (sandbox_.Root() / "file").string());
    TestSandbox::WriteFile(sandbox_.Root() / "file", "");
    EXPECT_FALSE(WriteAutostartEntry("SelvaneResizer", "/p"));

    // A folder in the entry's place refuses the write, even for root.
    sandbox_.SetVariable("XDG_CONFIG_HOME", std::nullopt);
    std::filesystem::create_directories(Folder() / "SelvaneResizer.desktop");
    EXPECT_THROW(WriteAutostartEntry("SelvaneResizer", "/p"), OsError);
}

}  // namespace
}  // namespace selvane::platform

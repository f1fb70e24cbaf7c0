#include "platform/DesktopShortcut.h"

#include "platform/OsError.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

namespace selvane::platform {
namespace {

using selvane::test::TestSandbox;

TEST(DesktopShortcutTest, WritesAnExecutableEntryAndReplacesAnExistingOne)
{
    TestSandbox sandbox;
    const auto desktop = sandbox.Home() / "Desktop";
    std::filesystem::create_directories(desktop);
    TestSandbox::WriteFile(desktop / "Selvane Image Resizer.desktop", "old contents");
    std::filesystem::permissions(desktop / "Selvane Image Resizer.desktop", std::filesystem::perms(0600));

    WriteDesktopShortcut(desktop.string(), "Selvane Image Resizer", "/opt/sel/run", "/opt/sel/");
    WriteDesktopShortcut(desktop.string() + "/", "Selvane Image Resizer", "/opt/sel/run", "/opt/sel/");

    EXPECT_EQ(TestSandbox::Names(desktop), std::set<std::string>{"Selvane Image Resizer.desktop"});
    const auto file = desktop / "Selvane Image Resizer.desktop";
    EXPECT_EQ(TestSandbox::ReadFile(file), "[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Selvane Image Resizer\n"
                                           "Exec=\"/opt/sel/run\"\n"
                                           "Path=/opt/sel/\n");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0755));
}

TEST(DesktopShortcutTest, AMissingFolderIsAnErrorAndLeavesNothing)
{
    TestSandbox sandbox;
    EXPECT_THROW(WriteDesktopShortcut((sandbox.Home() / "Desktop").string(), "x", "/p", "/"), OsError);
    EXPECT_TRUE(TestSandbox::Names(sandbox.Home()).empty());
}

}  // namespace
}  // namespace selvane::platform

#include "platform/SpecialFolders.h"

#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

namespace selvane::platform {
namespace {

using selvane::test::TestSandbox;

class SpecialFoldersTest : public ::testing::Test {
protected:
    void WriteUserDirs(const std::string& text)
    {
        TestSandbox::WriteFile(sandbox_.Home() / ".config/user-dirs.dirs", text);
    }

    std::string Home() const { return sandbox_.Home().string(); }

    TestSandbox sandbox_;
};

TEST_F(SpecialFoldersTest, ConfigFolderFollowsXdgConfigHomeAndOtherwiseHome)
{
    sandbox_.SetVariable("XDG_CONFIG_HOME", (sandbox_.Root() / "conf/").string());
    EXPECT_EQ(ConfigFolder(), (sandbox_.Root() / "conf").string());

    // A relative value is not a base folder at all.
    sandbox_.SetVariable("XDG_CONFIG_HOME", "relative/conf");
    EXPECT_EQ(ConfigFolder(), Home() + "/.config");

    sandbox_.SetVariable("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(ConfigFolder(), Home() + "/.config");
}

TEST_F(SpecialFoldersTest, ApplicationsFolderFollowsXdgDataHomeAndOtherwiseHome)
{
    sandbox_.SetVariable("XDG_DATA_HOME", (sandbox_.Root() / "data").string());
    EXPECT_EQ(ApplicationsFolder(), (sandbox_.Root() / "data/applications").string());
    sandbox_.SetVariable("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(ApplicationsFolder(), Home() + "/.local/share/applications");
}

TEST_F(SpecialFoldersTest, DesktopAndDocumentsFallBackToTheUsualNames)
{
    EXPECT_EQ(DesktopFolder(), Home() + "/Desktop");
    EXPECT_EQ(DocumentsFolder(), Home() + "/Documents");
}

TEST_F(SpecialFoldersTest, DesktopAndDocumentsComeFromUserDirs)
{
    WriteUserDirs("# This file is written by xdg-user-dirs-update\n"
                  "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                  "XDG_DOCUMENTS_DIR=\"/data/My \\\"Docs\\\"/\"\n"
                  "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(DesktopFolder(), Home() + "/Schreibtisch");
    EXPECT_EQ(DocumentsFolder(), "/data/My \"Docs\"");
}

TEST_F(SpecialFoldersTest, UserDirsAreReadFromTheConfigFolderAndTheLastAssignmentCounts)
{
    sandbox_.SetVariable("XDG_CONFIG_HOME", (sandbox_.Root() / "conf").string());
    TestSandbox::WriteFile(sandbox_.Root() / "conf/user-dirs.dirs",
                           "XDG_DESKTOP_DIR=\"$HOME/Old\"\nXDG_DESKTOP_DIR=\"$HOME/New\"\n");
    EXPECT_EQ(DesktopFolder(), Home() + "/New");
}

TEST_F(SpecialFoldersTest, MalformedUserDirsEntriesFallBack)
{
    for (const std::string value :
         {"\"relative/Desk\"", "$HOME/Unquoted", "\"$HOME/Unterminated", "\"$HOMEX/y\""}) {
        WriteUserDirs("XDG_DESKTOP_DIR=" + value + "\n");
        EXPECT_EQ(DesktopFolder(), Home() + "/Desktop") << value;
    }
    // "$HOME" alone is how a disabled folder is written: it is the home folder.
    WriteUserDirs("XDG_DESKTOP_DIR=\"$HOME/\"\n");
    EXPECT_EQ(DesktopFolder(), Home());
}

TEST_F(SpecialFoldersTest, WithoutHomeOrXdgVariablesNothingCanBeWorkedOut)
{
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        sandbox_.SetVariable(variable, std::nullopt);
    EXPECT_EQ(ConfigFolder(), "");
    EXPECT_EQ(DesktopFolder(), "");
    EXPECT_EQ(DocumentsFolder(), "");
    EXPECT_EQ(ApplicationsFolder(), "");
}

}  // namespace
}  // namespace selvane::platform

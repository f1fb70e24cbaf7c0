#include "util/TessaroTPU.h"

#include "platform/Administrator.h"
#include "platform/CurrentFolder.h"
#include "platform/ProgramPath.h"
#include "tests/support/CaseName.h"
#include "tests/support/RunUnprivileged.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace selvane {
namespace {

using selvane::test::RunUnprivileged;
using selvane::test::TestSandbox;

const std::string kProgramName = "Selvane Image Resizer";

// The program lives in the sandbox ("Program Files/selvane-resizer"), and whether the user
// is an administrator is set per test.
class SystemHelpersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        programFolder_ = sandbox_.Root() / "Program Files";
        std::filesystem::create_directories(programFolder_);
        platform::OverrideProgramPathForTesting((programFolder_ / "selvane-resizer").string());
    }

    void TearDown() override
    {
        platform::OverrideProgramPathForTesting(std::nullopt);
        platform::OverrideAdministratorForTesting(std::nullopt);
    }

    std::string ProgramFolder() const { return programFolder_.string() + "/"; }
    std::string ConfigSettingsFolder() const
    {
        return (sandbox_.Home() / ".config" / kProgramName).string() + "/";
    }
    std::filesystem::path Autostart() const { return sandbox_.Home() / ".config/autostart"; }
    std::filesystem::path Desktop() const { return sandbox_.Home() / "Desktop"; }

    TestSandbox sandbox_;
    std::filesystem::path programFolder_;
};

TEST_F(SystemHelpersTest, ProgramFolderAndVersion)
{
    EXPECT_EQ(GetProgramFolder(), ProgramFolder());
    EXPECT_EQ(GetProgramVersion(), "1.5.3.56");
    EXPECT_TRUE(IsWindowsNT());
}

TEST_F(SystemHelpersTest, ANonAdministratorGetsTheConfigFolderEvenWithAWritableProgramFolder)
{
    platform::OverrideAdministratorForTesting(false);
    ASSERT_TRUE(CanWriteTo(ProgramFolder()));
    EXPECT_EQ(GetSettingsFolder(kProgramName), ConfigSettingsFolder());
    EXPECT_TRUE(std::filesystem::is_directory(ConfigSettingsFolder()));
    EXPECT_TRUE(TestSandbox::Names(programFolder_).empty());
}

TEST_F(SystemHelpersTest, AnAdministratorGetsAWritableProgramFolderAndNoProbeIsLeft)
{
    platform::OverrideAdministratorForTesting(true);
    EXPECT_EQ(GetSettingsFolder(kProgramName), ProgramFolder());
    EXPECT_TRUE(TestSandbox::Names(programFolder_).empty());
    EXPECT_FALSE(std::filesystem::exists(ConfigSettingsFolder()));
}

TEST_F(SystemHelpersTest, AProbeFileThatExistedKeepsItsContents)
{
    platform::OverrideAdministratorForTesting(true);
    TestSandbox::WriteFile(programFolder_ / "WriteAccessTestFile.$$$", "keep me");
    EXPECT_EQ(GetSettingsFolder(kProgramName), ProgramFolder());
    EXPECT_EQ(TestSandbox::ReadFile(programFolder_ / "WriteAccessTestFile.$$$"), "keep me");
}

TEST_F(SystemHelpersTest, AnAdministratorWithAReadOnlyProgramFolderGetsTheConfigFolder)
{
    // The administrator answer is pretended, the refusal is real: the call runs as an
    // unprivileged user, whom the folder's mode refuses.
    platform::OverrideAdministratorForTesting(true);
    std::filesystem::permissions(programFolder_, std::filesystem::perms(0555));
    std::filesystem::permissions(sandbox_.Home(), std::filesystem::perms(0777));
    EXPECT_EQ(RunUnprivileged([] { return GetSettingsFolder(kProgramName); }), ConfigSettingsFolder());
    EXPECT_TRUE(std::filesystem::is_directory(ConfigSettingsFolder()));
    EXPECT_TRUE(TestSandbox::Names(programFolder_).empty());
}

TEST_F(SystemHelpersTest, WithoutAConfigFolderTheSettingsGoBesideTheProgramNotIntoTheCurrentFolder)
{
    platform::OverrideAdministratorForTesting(false);
    sandbox_.SetVariable("HOME", std::nullopt);
    sandbox_.SetVariable("XDG_CONFIG_HOME", std::nullopt);
    const auto pictures = sandbox_.Root() / "pictures";
    std::filesystem::create_directories(pictures);
    const std::string previous = platform::GetCurrentFolder();
    platform::SetCurrentFolder(pictures.string());

    const std::string folder = GetSettingsFolder(kProgramName);
    platform::SetCurrentFolder(previous);

    EXPECT_EQ(folder, ProgramFolder() + kProgramName + "/");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(TestSandbox::Names(pictures).empty());
}

struct InstalledPlace {
    const char* name;
    const char* programFolder;  // under the sandbox
};

void PrintTo(const InstalledPlace& row, std::ostream* out)
{
    *out << row.name;
}

class InstalledProgramTest : public SystemHelpersTest, public ::testing::WithParamInterface<InstalledPlace> {
protected:
    void SetUp() override
    {
        SystemHelpersTest::SetUp();
        programFolder_ = sandbox_.Root() / GetParam().programFolder;
        std::filesystem::create_directories(programFolder_);
        platform::OverrideProgramPathForTesting((programFolder_ / "selvane-resizer").string());
        platform::OverrideAdministratorForTesting(true);
    }
};

TEST_P(InstalledProgramTest, AnAdministratorGetsTheConfigFolderThoughTheProgramFolderIsWritable)
{
    ASSERT_TRUE(CanWriteTo(ProgramFolder()));
    EXPECT_EQ(GetSettingsFolder(kProgramName), ConfigSettingsFolder());
    EXPECT_TRUE(std::filesystem::is_directory(ConfigSettingsFolder()));
    EXPECT_TRUE(TestSandbox::Names(programFolder_).empty());
}

TEST_P(InstalledProgramTest, WithoutAConfigFolderTheSettingsGoToTheTemporaryFolder)
{
    sandbox_.SetVariable("HOME", std::nullopt);
    sandbox_.SetVariable("XDG_CONFIG_HOME", std::nullopt);
    const auto temp = sandbox_.Root() / "tmp";
    std::filesystem::create_directories(temp);
    sandbox_.SetVariable("TMPDIR", temp.string());

    EXPECT_EQ(GetSettingsFolder(kProgramName), (temp / kProgramName).string() + "/");
    EXPECT_TRUE(TestSandbox::Names(programFolder_).empty());
}

INSTANTIATE_TEST_SUITE_P(Places, InstalledProgramTest,
                         ::testing::Values(InstalledPlace{"UsrBin", "usr/bin"},
                                           InstalledPlace{"UsrLocalBin", "usr/local/bin"},
                                           InstalledPlace{"OptPrefix", "opt/selvane/bin"}),
                         test::CaseName);

TEST_F(SystemHelpersTest, CanWriteToProbesInsideAFolderAndLeavesNothing)
{
    const auto folder = sandbox_.Root() / "target";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(CanWriteTo(folder.string()));
    EXPECT_TRUE(CanWriteTo(folder.string() + "/"));
    EXPECT_TRUE(CanWriteTo((folder / "new.file").string()));
    EXPECT_TRUE(TestSandbox::Names(folder).empty());

    TestSandbox::WriteFile(folder / "WriteAccessTest.DeleteMe", "was here");
    EXPECT_TRUE(CanWriteTo(folder.string()));
    EXPECT_EQ(TestSandbox::ReadFile(folder / "WriteAccessTest.DeleteMe"), "was here");
}

TEST_F(SystemHelpersTest, CanWriteToAnswersFalseAtOnceWithoutTheFolder)
{
    EXPECT_FALSE(CanWriteTo((sandbox_.Root() / "missing/file").string()));
    EXPECT_FALSE(CanWriteTo("relative-name"));
    EXPECT_FALSE(std::filesystem::exists(sandbox_.Root() / "missing"));
}

TEST_F(SystemHelpersTest, CanWriteToIsFalseWhereAnUnprivilegedUserIsRefused)
{
    std::filesystem::permissions(programFolder_, std::filesystem::perms(0555));
    EXPECT_EQ(RunUnprivileged([&] { return std::to_string(CanWriteTo(ProgramFolder())); }), "0");
}

TEST_F(SystemHelpersTest, SpecialFolders)
{
    TestSandbox::WriteFile(sandbox_.Home() / ".config/user-dirs.dirs",
                           "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    const std::string home = sandbox_.Home().string();
    EXPECT_EQ(GetSpecialFolder(26), home + "/.config/");
    EXPECT_EQ(GetSpecialFolder(16), home + "/Bureau/");
    EXPECT_EQ(GetSpecialFolder(5), home + "/Docs/");
    EXPECT_EQ(GetSpecialFolder(35), "");

    sandbox_.SetVariable("HOME", std::nullopt);
    sandbox_.SetVariable("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(GetSpecialFolder(26), "");
    EXPECT_EQ(GetSpecialFolder(16), "");
}

TEST_F(SystemHelpersTest, StartAtLogOnNamesTheProgramQuoted)
{
    SetSelfStartWithWindows(true);
    EXPECT_EQ(TestSandbox::Names(Autostart()), std::set<std::string>{"SelvaneResizer.desktop"});
    const std::string entry = TestSandbox::ReadFile(Autostart() / "SelvaneResizer.desktop");
    EXPECT_NE(entry.find("\nExec=\"" + ProgramFolder() + "selvane-resizer\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos) << entry;

    SetSelfStartWithWindows(false);
    EXPECT_TRUE(TestSandbox::Names(Autostart()).empty());
}

TEST_F(SystemHelpersTest, TheEntryOfAnyProgramIsNamedAfterItsFile)
{
    SetStartWithWindows("/opt/tools/Other.bin", true);
    EXPECT_EQ(TestSandbox::Names(Autostart()), std::set<std::string>{"Other.desktop"});
    SetStartWithWindows("/opt/tools/Other.bin", false);
    EXPECT_TRUE(TestSandbox::Names(Autostart()).empty());
}

TEST_F(SystemHelpersTest, DisablingStartAtLogOnWithoutAnEntryChangesNothing)
{
    SetSelfStartWithWindows(false);
    EXPECT_TRUE(TestSandbox::Names(sandbox_.Home()).empty());

    TestSandbox::WriteFile(Autostart() / "someone-else.desktop", "x");
    SetSelfStartWithWindows(false);
    EXPECT_EQ(TestSandbox::Names(Autostart()), std::set<std::string>{"someone-else.desktop"});
}

TEST_F(SystemHelpersTest, AFailedStartEntryWriteRaisesFailedToSetData)
{
    // A folder where the entry should be refuses the write, even for root.
    std::filesystem::create_directories(Autostart() / "SelvaneResizer.desktop");
    try {
        SetSelfStartWithWindows(true);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'SelvaneResizer'");
    }
}

TEST_F(SystemHelpersTest, TheDesktopShortcutCreatedTwiceLeavesOne)
{
    std::filesystem::create_directories(Desktop());
    CreateShortcutToSelf("Selvane Image Resizer", true);
    CreateShortcutToSelf("Selvane Image Resizer", true);
    EXPECT_EQ(TestSandbox::Names(Desktop()), std::set<std::string>{"Selvane Image Resizer.desktop"});
    const auto file = Desktop() / "Selvane Image Resizer.desktop";
    const std::string entry = TestSandbox::ReadFile(file);
    EXPECT_NE(entry.find("\nExec=\"" + ProgramFolder() + "selvane-resizer\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nPath=" + ProgramFolder() + "\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nName=Selvane Image Resizer\n"), std::string::npos) << entry;
    const auto permissions = std::filesystem::status(file).permissions();
    EXPECT_NE(permissions & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
}

TEST_F(SystemHelpersTest, TheMenuShortcutGoesToTheApplicationsFolderMadeWhenMissing)
{
    CreateShortcut("Selvane Image Resizer", "/opt/other/run", false);
    const auto applications = sandbox_.Home() / ".local/share/applications";
    EXPECT_EQ(TestSandbox::Names(applications), std::set<std::string>{"Selvane Image Resizer.desktop"});
    EXPECT_NE(TestSandbox::ReadFile(applications / "Selvane Image Resizer.desktop")
                  .find("\nExec=\"/opt/other/run\"\n"),
              std::string::npos);
}

TEST_F(SystemHelpersTest, WithoutADesktopFolderNoShortcutIsMadeAndNothingIsRaised)
{
    EXPECT_NO_THROW(CreateShortcutToSelf("Selvane Image Resizer", true));
    EXPECT_TRUE(TestSandbox::Names(sandbox_.Home()).empty());
}

}  // namespace
}  // namespace selvane

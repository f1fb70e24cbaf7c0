// The settings file as a person's disk may hand it over: damaged, far too large, an endless
// device, or left behind by a save that died half-way. Reading never fails and never
// takes unbounded time or memory; nothing the file held is lost.
#include "util/TessaroIniFile.h"

#include "tests/support/CaseName.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace selvane {
namespace {

using selvane::test::TestSandbox;

// The bytes of a literal, NULs included.
template <std::size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

class IniFileDamageTest : public ::testing::Test {
protected:
    std::string File() const { return (sandbox_.Root() / "SelvaneResizer.INI").string(); }

    TestSandbox sandbox_;
};

struct DamageCase {
    const char* name;
    std::string contents;
    int quality;  // what Settings/trkQuality reads as (74, the default, when it cannot be found)
};

class IniDamagedContentsTest : public IniFileDamageTest, public ::testing::WithParamInterface<DamageCase> {};

// Every case holds trkQuality, once where the damage still lets it be found and once where
// it does not; a save of another key must then work and carry the damage along unchanged.
TEST_P(IniDamagedContentsTest, ReadsWhatCanBeFoundAndKeepsTheRestOnSave)
{
    const DamageCase& damage = GetParam();
    TestSandbox::WriteFile(File(), damage.contents);
    TTessaroIniFile ini(File());
    EXPECT_EQ(ini.ReadInteger("Settings", "trkQuality", 74), damage.quality);

    ini.WriteInteger("Settings", "spnWH", 700);

    EXPECT_EQ(ini.ReadInteger("Settings", "spnWH", 600), 700);
    EXPECT_EQ(ini.ReadInteger("Settings", "trkQuality", 74), damage.quality);
    const std::string after = TestSandbox::ReadFile(File());
    // Every byte of the damaged file is still there, in order, around the new line.
    const auto added = after.find("spnWH=700");
    ASSERT_NE(added, std::string::npos);
    std::string rest = after;
    rest.erase(added, after.find('\n', added) + 1 - added);
    EXPECT_EQ(rest.substr(0, damage.contents.size()), damage.contents);
}

const std::string kMegabyte(1000000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Files, IniDamagedContentsTest,
    ::testing::Values(
        DamageCase{"NulBytes", Bytes("[Settings]\ntrk\0Quality=1\nLastPath=/a\0/b\ntrkQuality=80\n"), 80},
        DamageCase{"NulEndsTheValue",
                   Bytes("[Settings]\ntrkQuality=8\0"
                         "0\n"),
                   8},
        DamageCase{"CarriageReturnsOnly", "[Settings]\rtrkQuality=80\rspnRound=3\r", 74},
        DamageCase{"NoLineEndsAtAll", "[WindowState]Left=50Top=60[Settings]trkQuality=80", 74},
        DamageCase{"MegabyteLine", "[Settings]\nLastPath=" + kMegabyte + "\ntrkQuality=80\n", 80},
        DamageCase{"MegabyteLineWithoutKey", "[Settings]\n" + kMegabyte + "\ntrkQuality=80\n", 80},
        DamageCase{"InvalidUtf8",
                   "[Settings]\nLastPath=/\xC3(\xFF\xFE/\xE2\x82\n\xF0\x9F=\xA9\ntrkQuality=80\n", 80},
        DamageCase{"CutOffSectionHeader", "[WindowState]\nLeft=50\n[Settings\ntrkQuality=80\n", 80},
        DamageCase{"CutOffInTheLastHeader", "[Resize]\nradXDecrease=1\n[Sett", 74}),
    test::CaseName);

TEST_F(IniFileDamageTest, ALongValueReadsAsItsFirst2047Bytes)
{
    TestSandbox::WriteFile(File(), "[Settings]\nLastPath=" + kMegabyte + "\n");
    EXPECT_EQ(TTessaroIniFile(File()).ReadString("Settings", "LastPath", ""), std::string(2047, 'x'));
}

TEST_F(IniFileDamageTest, AFileTooLargeToBeSettingsReadsAsDefaultsAndIsNotReplaced)
{
    const std::string huge = "[Settings]\ntrkQuality=80\n" + std::string(kMaxIniFileBytes, '\n');
    TestSandbox::WriteFile(File(), huge);
    TTessaroIniFile ini(File());

    EXPECT_EQ(ini.ReadInteger("Settings", "trkQuality", 74), 74);
    EXPECT_FALSE(ini.ValueExists("Settings", "trkQuality"));
    try {
        ini.WriteInteger("Settings", "trkQuality", 90);
        ADD_FAILURE() << "the file was rewritten";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + File());
    }
    EXPECT_EQ(TestSandbox::ReadFile(File()), huge);
}

TEST_F(IniFileDamageTest, ALinkToAnEndlessDeviceReadsAsDefaultsAndIsNotWritten)
{
    std::filesystem::create_symlink("/dev/zero", File());
    TTessaroIniFile ini(File());

    EXPECT_EQ(ini.ReadString("Settings", "LastPath", "/default/"), "/default/");
    EXPECT_THROW(ini.WriteString("Settings", "LastPath", "/x/"), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_symlink(File()));
    EXPECT_EQ(TestSandbox::Names(sandbox_.Root()), (std::set<std::string>{"SelvaneResizer.INI", "home"}));
}

TEST_F(IniFileDamageTest, ASaveThatDiesHalfWayLeavesTheOldFileWhole)
{
    const std::string old = "[Settings]\ntrkQuality=80\nLastPath=/old/\n";
    TestSandbox::WriteFile(File(), old);
    constexpr rlim_t kWritableBytes = 50000;

    // The child is killed by the system (SIGXFSZ) once the file it writes passes the size
    // limit: the save dies in the middle of writing, as on a crash or a power cut.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{kWritableBytes, kWritableBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        TTessaroIniFile(File()).WriteString("Settings", "LastPath", std::string(2 * kWritableBytes, 'n'));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the save was not cut off";

    EXPECT_EQ(TestSandbox::ReadFile(File()), old);
    // What the dead save had written lies beside it, unfinished.
    std::uintmax_t partial = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sandbox_.Root()))
        if (entry.path().filename() != "SelvaneResizer.INI" && entry.path().filename() != "home")
            partial = entry.file_size();
    EXPECT_EQ(partial, kWritableBytes);

    // The next save goes through and keeps every other key. A save made much later (a new
    // file object, as each save of the program is) also clears away what the dead one left.
    TTessaroIniFile ini(File());
    ini.WriteString("Settings", "LastPath", "/new/");
    EXPECT_EQ(ini.ReadString("Settings", "LastPath", ""), "/new/");
    EXPECT_EQ(ini.ReadInteger("Settings", "trkQuality", 74), 80);
    EXPECT_EQ(TestSandbox::Names(sandbox_.Root()).size(), 3u);
    for (const auto& entry : std::filesystem::directory_iterator(sandbox_.Root()))
        std::filesystem::last_write_time(entry.path(), entry.last_write_time() - std::chrono::hours(1));
    TTessaroIniFile(File()).WriteString("Settings", "LastPath", "/later/");
    EXPECT_EQ(TestSandbox::Names(sandbox_.Root()), (std::set<std::string>{"SelvaneResizer.INI", "home"}));
}

}  // namespace
}  // namespace selvane

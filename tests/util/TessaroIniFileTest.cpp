#include "util/TessaroIniFile.h"

#include "tests/support/CaseName.h"
#include "tests/support/RunUnprivileged.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <optional>

namespace selvane {
namespace {

using selvane::test::RunUnprivileged;
using selvane::test::TestSandbox;

// Dates in these tests are in the C locale's short date format, "%m/%d/%y".
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousLocale_ = std::setlocale(LC_TIME, nullptr);
        std::setlocale(LC_TIME, "C");
        file_ = (sandbox_.Root() / "SelvaneResizer.INI").string();
    }
    void TearDown() override { std::setlocale(LC_TIME, previousLocale_.c_str()); }

    void Put(const std::string& contents) const { TestSandbox::WriteFile(file_, contents); }
    std::string Contents() const { return TestSandbox::ReadFile(file_); }

    TestSandbox sandbox_;
    std::string file_;
    std::string previousLocale_;
};

// --- Reading: a file, one read, the answer as text ---

struct ReadCase {
    const char* name;
    std::string file;
    std::function<std::string(const TTessaroIniFile&)> read;
    std::string expected;
};

std::string Integer(const TTessaroIniFile& ini)
{
    return std::to_string(ini.ReadInteger("S", "k", 7));
}
std::string BoolDefaultTrue(const TTessaroIniFile& ini)
{
    return ini.ReadBool("S", "k", true) ? "true" : "false";
}
std::string BoolDefaultFalse(const TTessaroIniFile& ini)
{
    return ini.ReadBool("S", "k", false) ? "true" : "false";
}
std::string Text(const TTessaroIniFile& ini)
{
    return "[" + ini.ReadString("S", "k", "default") + "]";
}
std::string Date(const TTessaroIniFile& ini)
{
    return std::to_string(ini.ReadDate("S", "k", -1.0));
}
std::string Exists(const TTessaroIniFile& ini)
{
    return ini.ValueExists("s", "K") ? "yes" : "no";
}

class IniReadTest : public IniFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IniReadTest, Reads)
{
    Put(GetParam().file);
    EXPECT_EQ(GetParam().read(TTessaroIniFile(file_)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniReadTest,
    ::testing::Values(ReadCase{"Decimal", "[S]\nk=42\n", Integer, "42"},
                      ReadCase{"Negative", "[S]\nk=-17\n", Integer, "-17"},
                      ReadCase{"Plus", "[S]\nk=+5\n", Integer, "5"},
                      ReadCase{"Hex", "[S]\nk=0x1E\n", Integer, "30"},
                      ReadCase{"HexUpperCase", "[S]\nk=0X1e\n", Integer, "30"},
                      ReadCase{"HexSignBit", "[S]\nk=0xFFFFFFFF\n", Integer, "-1"},
                      ReadCase{"HexPrefixOnly", "[S]\nk=0x\n", Integer, "7"},
                      ReadCase{"HexBadDigit", "[S]\nk=0x1G\n", Integer, "7"},
                      ReadCase{"HexTooLong", "[S]\nk=0x123456789\n", Integer, "7"},
                      ReadCase{"TrailingLetters", "[S]\nk=12abc\n", Integer, "7"},
                      ReadCase{"Word", "[S]\nk=abc\n", Integer, "7"},
                      ReadCase{"EmptyInteger", "[S]\nk=\n", Integer, "7"},
                      ReadCase{"Fraction", "[S]\nk=1.5\n", Integer, "7"},
                      ReadCase{"TooLarge", "[S]\nk=2147483648\n", Integer, "7"},
                      ReadCase{"TwoSigns", "[S]\nk=+-5\n", Integer, "7"},
                      ReadCase{"BlanksAroundNumber", "[S]\nk=\t 42 \n", Integer, "42"},
                      ReadCase{"MissingKey", "[S]\nother=1\n", Integer, "7"},
                      ReadCase{"MissingSection", "[T]\nk=1\n", Integer, "7"},
                      ReadCase{"KeyOfAnotherSection", "[T]\nk=1\n[S]\n", Integer, "7"},
                      ReadCase{"KeyBeforeAnySection", "k=1\n[S]\n", Integer, "7"},
                      ReadCase{"CommentedKey", "[S]\n;k=1\n#k=2\n", Integer, "7"},
                      ReadCase{"CaseInsensitiveNames", "[s]\nK=3\n", Integer, "3"},
                      ReadCase{"FirstSectionCounts", "[S]\nk=1\n[S]\nk=2\n", Integer, "1"},
                      ReadCase{"FirstKeyCounts", "[S]\nk=1\nK=2\n", Integer, "1"},
                      ReadCase{"WindowsLineEnds", "[S]\r\nk=5\r\n", Integer, "5"},
                      ReadCase{"BoolOne", "[S]\nk=1\n", BoolDefaultFalse, "true"},
                      ReadCase{"BoolZero", "[S]\nk=0\n", BoolDefaultTrue, "false"},
                      ReadCase{"BoolTwo", "[S]\nk=2\n", BoolDefaultFalse, "true"},
                      ReadCase{"BoolNegative", "[S]\nk=-1\n", BoolDefaultFalse, "true"},
                      ReadCase{"BoolHex", "[S]\nk=0x10\n", BoolDefaultFalse, "true"},
                      ReadCase{"BoolWordGivesDefaultTrue", "[S]\nk=yes\n", BoolDefaultTrue, "true"},
                      ReadCase{"BoolWordGivesDefaultFalse", "[S]\nk=yes\n", BoolDefaultFalse, "false"},
                      ReadCase{"BoolMissing", "", BoolDefaultTrue, "true"},
                      ReadCase{"TextTrimmed", "[S]\nk=  a  b \t\r\n", Text, "[a  b]"},
                      ReadCase{"TextEmptyIsNotTheDefault", "[S]\nk=\n", Text, "[]"},
                      ReadCase{"TextMissing", "[S]\n", Text, "[default]"},
                      ReadCase{"TextWithEquals", "[S]\nk=/a=b/c\n", Text, "[/a=b/c]"},
                      ReadCase{"TextWithBlanksAroundKey", "[S]\n  k  = v\n", Text, "[v]"},
                      ReadCase{"TextCutAtNul", std::string("[S]\nk=ab\0cd\n", 12), Text, "[ab]"},
                      ReadCase{"TextInvalidUtf8Unchanged", "[S]\nk=\xFF\xC3(\n", Text, "[\xFF\xC3(]"},
                      ReadCase{"CutOffHeaderStillNamesItsSection", "[S\nk=v", Text, "[v]"},
                      ReadCase{"DateFourDigitYear", "[S]\nk=03/15/2023\n", Date, std::to_string(45000.0)},
                      ReadCase{"DateTwoDigitYear", "[S]\nk=03/15/23\n", Date, std::to_string(45000.0)},
                      ReadCase{"DateOtherFormat", "[S]\nk=2023-03-15\n", Date, std::to_string(-1.0)},
                      ReadCase{"DateNoSuchDay", "[S]\nk=02/30/2023\n", Date, std::to_string(-1.0)},
                      ReadCase{"DateEmpty", "[S]\nk=\n", Date, std::to_string(-1.0)},
                      ReadCase{"ExistsWithoutValue", "[S]\nk=\n", Exists, "yes"},
                      ReadCase{"ExistsNotInOtherSection", "[T]\nk=1\n", Exists, "no"},
                      ReadCase{"ExistsNotAsValue", "[S]\nx=k\n", Exists, "no"}),
    test::CaseName);

// --- Writing: a file (or none), some writes, the file afterwards ---

struct WriteCase {
    const char* name;
    std::optional<std::string> before;
    std::function<void(TTessaroIniFile&)> writes;
    std::string after;
};

class IniWriteTest : public IniFileTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(IniWriteTest, Writes)
{
    if (GetParam().before) Put(*GetParam().before);
    TTessaroIniFile ini(file_);
    GetParam().writes(ini);
    EXPECT_EQ(Contents(), GetParam().after);
    // Nothing but the file itself is left in its folder.
    EXPECT_EQ(TestSandbox::Names(sandbox_.Root()), (std::set<std::string>{"SelvaneResizer.INI", "home"}));
}

const std::string kLongLine(100000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Table, IniWriteTest,
    ::testing::Values(
        WriteCase{"OrderOfFirstWrites", std::nullopt,
                  [](TTessaroIniFile& ini) {
                      ini.WriteString("WindowState", "Left", "50");
                      ini.WriteInteger("Resize", "spnWH", 600);
                      ini.WriteString("WindowState", "Top", "60");
                  },
                  "[WindowState]\nLeft=50\nTop=60\n[Resize]\nspnWH=600\n"},
        WriteCase{"ReplacesOnlyTheValueKeepingOtherLines", "; comment\n\n[S]\n  Key = old \n\nother=x\n[T]\n",
                  [](TTessaroIniFile& ini) { ini.WriteString("s", "KEY", "new"); },
                  "; comment\n\n[S]\nKey=new\n\nother=x\n[T]\n"},
        WriteCase{"NewKeyAfterTheLastLineOfItsSection", "[S]\nx=1\n; note\n\n[T]\ny=2\n",
                  [](TTessaroIniFile& ini) { ini.WriteString("S", "z", "3"); },
                  "[S]\nx=1\n; note\nz=3\n\n[T]\ny=2\n"},
        WriteCase{"NewKeyUnderABareHeader", "[S]",
                  [](TTessaroIniFile& ini) { ini.WriteString("S", "k", "v"); }, "[S]\nk=v\n"},
        WriteCase{"NewSectionAfterALastLineWithoutLineEnd", "[S]\nx=1",
                  [](TTessaroIniFile& ini) { ini.WriteString("T", "y", "2"); }, "[S]\nx=1\n[T]\ny=2\n"},
        WriteCase{"KeepsWindowsLineEnds", "[S]\r\nx=1\r\n",
                  [](TTessaroIniFile& ini) {
                      ini.WriteString("S", "x", "2");
                      ini.WriteString("S", "y", "3");
                  },
                  "[S]\r\nx=2\r\ny=3\r\n"},
        WriteCase{"KeepsTheSpellingOfNames", "[SETTINGS]\nTRKQUALITY=1\n",
                  [](TTessaroIniFile& ini) { ini.WriteInteger("Settings", "trkQuality", 80); },
                  "[SETTINGS]\nTRKQUALITY=80\n"},
        WriteCase{"Integers", std::nullopt,
                  [](TTessaroIniFile& ini) {
                      ini.WriteInteger("S", "min", -2147483647 - 1);
                      ini.WriteInteger("S", "max", 2147483647);
                  },
                  "[S]\nmin=-2147483648\nmax=2147483647\n"},
        WriteCase{"Booleans", std::nullopt,
                  [](TTessaroIniFile& ini) {
                      ini.WriteBool("S", "on", true);
                      ini.WriteBool("S", "off", false);
                  },
                  "[S]\non=1\noff=0\n"},
        WriteCase{"DateWithoutTimeOfDay", std::nullopt,
                  [](TTessaroIniFile& ini) { ini.WriteDate("Updates", "LastCheck", 45000.999); },
                  "[Updates]\nLastCheck=03/15/2023\n"},
        WriteCase{"TextUnchanged", std::nullopt,
                  [](TTessaroIniFile& ini) { ini.WriteString("Settings", "LastPath", " /a=b/IMG 12:30/ "); },
                  "[Settings]\nLastPath= /a=b/IMG 12:30/ \n"},
        WriteCase{"AValueCannotAddLines", std::nullopt,
                  [](TTessaroIniFile& ini) {
                      ini.WriteString("S", "k", "a\n[Evil]\r\nx=1");
                      ini.WriteString("S", "n", std::string("ab\0cd", 5));
                  },
                  "[S]\nk=a [Evil]  x=1\nn=ab\n"},
        WriteCase{"DamagedContentsSurvive",
                  std::string("garbage\0with nul\n", 17) + "\xFF\xFE invalid\n" + "[S\nk=1\n" + kLongLine +
                      "\n[Last",
                  [](TTessaroIniFile& ini) {
                      ini.WriteString("S", "k", "2");
                      ini.WriteString("New", "a", "b");
                  },
                  std::string("garbage\0with nul\n", 17) + "\xFF\xFE invalid\n" + "[S\nk=2\n" + kLongLine +
                      "\n[Last\n[New]\na=b\n"}),
    test::CaseName);

// --- Rules that need more than one step ---

TEST_F(IniFileTest, EveryWriteReachesTheFileAndEveryReadReadsItAfresh)
{
    TTessaroIniFile ini(file_);
    ini.WriteInteger("S", "k", 1);
    EXPECT_EQ(Contents(), "[S]\nk=1\n");
    Put("[S]\nk=2\n");
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 2);
    std::filesystem::remove(file_);
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 0);
    EXPECT_FALSE(ini.ValueExists("S", "k"));
}

TEST_F(IniFileTest, TextComesBackWithAtMost2047Characters)
{
    TTessaroIniFile ini(file_);
    const std::string longText(3000, 'a');
    ini.WriteString("S", "ascii", longText);
    EXPECT_NE(Contents().find(longText), std::string::npos);  // the file holds all of it
    EXPECT_EQ(ini.ReadString("S", "ascii", ""), std::string(2047, 'a'));

    ini.WriteString("S", "exact", std::string(2047, 'b'));
    EXPECT_EQ(ini.ReadString("S", "exact", ""), std::string(2047, 'b'));

    // Two-byte characters: the cut moves back rather than split one.
    std::string umlauts;
    for (int i = 0; i < 1500; ++i) umlauts += "\xC3\xA4";
    ini.WriteString("S", "utf8", umlauts);
    EXPECT_EQ(ini.ReadString("S", "utf8", ""), umlauts.substr(0, 2046));
}

TEST_F(IniFileTest, AReadOnlyFileOrFolderGivesUnableToWriteAndStaysAsItWas)
{
    // As root, file modes refuse nothing: the writes run as an unprivileged user.
    const auto open = sandbox_.Root() / "open";
    const auto locked = sandbox_.Root() / "locked";
    TestSandbox::WriteFile(open / "readonly.INI", "[S]\nk=1\n");
    TestSandbox::WriteFile(open / "writeonly.INI", "[S]\nk=1\n");
    TestSandbox::WriteFile(locked / "settings.INI", "[S]\nk=1\n");
    std::filesystem::permissions(open, std::filesystem::perms(0777));
    std::filesystem::permissions(open / "readonly.INI", std::filesystem::perms(0444));
    std::filesystem::permissions(open / "writeonly.INI", std::filesystem::perms(0222));
    std::filesystem::permissions(locked / "settings.INI", std::filesystem::perms(0666));
    std::filesystem::permissions(locked, std::filesystem::perms(0555));

    for (const auto& path : {open / "readonly.INI", open / "writeonly.INI", locked / "settings.INI"}) {
        const std::string result = RunUnprivileged([&] {
            try {
                TTessaroIniFile(path.string()).WriteInteger("S", "k", 2);
                return std::string("written");
            } catch (const EIniFileException& error) {
                return std::string(error.what());
            }
        });
        EXPECT_EQ(result, "Unable to write to " + path.string());
        std::filesystem::permissions(path, std::filesystem::perms::owner_read,
                                     std::filesystem::perm_options::add);
        EXPECT_EQ(TestSandbox::ReadFile(path), "[S]\nk=1\n") << path;
    }
    EXPECT_EQ(TestSandbox::Names(open), (std::set<std::string>{"readonly.INI", "writeonly.INI"}));
    EXPECT_EQ(TestSandbox::Names(locked), std::set<std::string>{"settings.INI"});
}

TEST_F(IniFileTest, AMissingFolderGivesUnableToWrite)
{
    const std::string path = (sandbox_.Root() / "missing/SelvaneResizer.INI").string();
    try {
        TTessaroIniFile(path).WriteString("S", "k", "v");
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), ("Unable to write to " + path).c_str());
    }
}

TEST_F(IniFileTest, NamesThatWouldBreakTheFileAreRefused)
{
    TTessaroIniFile ini(file_);
    const std::pair<std::string, std::string> names[] = {{"A]B", "k"}, {"A\nB", "k"}, {"S", ""},
                                                         {"S", "  "},  {"S", "a=b"},  {"S", "a\nb"},
                                                         {"S", "[k"},  {"S", ";k"}};
    for (const auto& [section, key] : names)
        EXPECT_THROW(ini.WriteString(section, key, "v"), EIniFileException) << section << "/" << key;
    EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(IniFileTest, TheFileKeepsItsMode)
{
    Put("[S]\nk=1\n");
    std::filesystem::permissions(file_, std::filesystem::perms(0640));
    TTessaroIniFile(file_).WriteInteger("S", "k", 2);
    EXPECT_EQ(std::filesystem::status(file_).permissions(), std::filesystem::perms(0640));
}

TEST_F(IniFileTest, ASymbolicLinkIsWrittenThrough)
{
    const auto real = sandbox_.Root() / "real" / "settings.INI";
    TestSandbox::WriteFile(real, "[S]\nk=1\n");
    std::filesystem::create_symlink(real, file_);
    TTessaroIniFile(file_).WriteInteger("S", "k", 2);
    EXPECT_TRUE(std::filesystem::is_symlink(file_));
    EXPECT_EQ(TestSandbox::ReadFile(real), "[S]\nk=2\n");
}

TEST_F(IniFileTest, AMissingFileReadsAsDefaults)
{
    const TTessaroIniFile ini(file_);
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("S", "k", 4), 4);
    EXPECT_TRUE(ini.ReadBool("S", "k", true));
    EXPECT_EQ(ini.ReadDate("S", "k", 0.0), 0.0);
    EXPECT_FALSE(ini.ValueExists("S", "k"));
    EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(IniFileTest, ADateWrittenIsReadBackAtMidnight)
{
    TTessaroIniFile ini(file_);
    ini.WriteDate("Updates", "LastCheck", 45000.9993);  // 23:59
    EXPECT_EQ(ini.ReadDate("Updates", "LastCheck", -1.0), 45000.0);
    ini.WriteDate("Updates", "LastCheck", 0.0);
    EXPECT_EQ(ini.ReadDate("Updates", "LastCheck", -1.0), 0.0);
}

}  // namespace
}  // namespace selvane

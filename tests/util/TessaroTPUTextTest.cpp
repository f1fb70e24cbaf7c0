#include "tests/support/MessageRecorder.h"
#include "tests/support/TestSandbox.h"
#include "util/TessaroTPU.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace selvane {
namespace {

namespace fs = std::filesystem;

using test::MessageRecorder;
using TemporaryFolder = test::TemporaryFolderTest;

TEST(TextHelpers, AddTrailingBackslash)
{
    EXPECT_EQ(AddTrailingBackslash(""), "");
    EXPECT_EQ(AddTrailingBackslash("/home/me"), "/home/me/");
    EXPECT_EQ(AddTrailingBackslash("/home/me/"), "/home/me/");
    EXPECT_EQ(AddTrailingBackslash("/"), "/");
}

TEST(TextHelpers, LastPosAndCopyRange)
{
    EXPECT_EQ(LastPos(".", "a.b.c"), 4);
    EXPECT_EQ(LastPos("", "abc"), 0);
    EXPECT_EQ(LastPos("ab", "xabyab"), 5);
    EXPECT_EQ(LastPos("q", "abc"), 0);
    EXPECT_EQ(ReverseText("abc"), "cba");
    EXPECT_EQ(CopyRange("abcdef", 2, 4), "bcd");
    EXPECT_EQ(CopyRange("abcdef", 4, 99), "def");
    EXPECT_EQ(CopyRange("abcdef", 4, 3), "");
}

TEST(TextHelpers, ExtractOnlyName)
{
    EXPECT_EQ(ExtractOnlyName("/pictures/a.b.c.jpeg"), "a.b.c");
    EXPECT_EQ(ExtractOnlyName("/pictures/photo.PNG"), "photo");
    EXPECT_EQ(ExtractOnlyName("/pictures/.hidden"), "");
    EXPECT_EQ(ExtractOnlyName("/pic.tures/IMG 12:30.jpg"), "IMG 12:30");  // a colon is a plain character
    EXPECT_EQ(ExtractOnlyName("/pictures/README"), "README");
}

TEST(NumberHelpers, FormatRealCutsAfterTheDecimals)
{
    const std::pair<double, const char*> cases[] = {
        {1.2389, "1.23"}, {0.999, "0.99"}, {2, "2"}, {0.016, "0.01"}, {-0.5, "-0.5"}, {12.5, "12.5"},
        {3.456, "3.45"},  {0.05, "0.05"},  {1, "1"}, {0.5, "0.5"},    {10.9, "10.9"}};
    for (auto [value, expected] : cases) EXPECT_EQ(FormatReal(value, 2), expected) << value;
}

TEST(NumberHelpers, FormatRealIgnoresACommaLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) break;
    EXPECT_EQ(FormatReal(12.5, 2), "12.5");
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(NumberHelpers, FormatInteger)
{
    EXPECT_EQ(FormatInteger(-42), "-42");
    EXPECT_EQ(FormatInteger(1234567), "1234567");
}

TEST(Messages, ExpandLineBreaks)
{
    EXPECT_EQ(ExpandLineBreaks("one CRLF two"), "one \r\ntwo");
    EXPECT_EQ(ExpandLineBreaks("oneCRLFtwo"), "one\r\ntwo");
    EXPECT_EQ(ExpandLineBreaks("a crlf b"), "a crlf b");
}

TEST(Messages, GoToTheHandlerWithTheirCaptions)
{
    MessageRecorder recorder;
    ShowPlainMessage("plain");
    ShowErrorMessage("error CRLF text");
    ShowWarningMessage("warning");
    ShowInfoMessage("info");
    ShowErrorMessage("");  // nothing for an empty text
    ASSERT_EQ(recorder.messages.size(), 4u);
    EXPECT_EQ(recorder.messages[0].caption, "Selvane Image Resizer");
    EXPECT_EQ(recorder.messages[1].caption, "Error");
    EXPECT_EQ(recorder.messages[1].text, "error \r\ntext");
    EXPECT_EQ(recorder.messages[1].kind, MessageKind::Error);
    EXPECT_EQ(recorder.messages[2].caption, "Warning");
    EXPECT_EQ(recorder.messages[3].caption, "Information");
}

TEST_F(TemporaryFolder, FolderAndFileTests)
{
    const std::string folder = Path("sub");
    fs::create_directory(folder);
    std::ofstream(Path("file.txt")) << "x";
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(FolderExists(folder + " "));
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_FALSE(FolderExists(Path("file.txt")));
    EXPECT_TRUE(FileExists(Path("file.txt")));
    EXPECT_FALSE(FileExists(folder));

    MessageRecorder recorder;
    EXPECT_FALSE(FileExistsMsg(folder));
    EXPECT_FALSE(FileExistsMsg(""));
    EXPECT_TRUE(FileExistsMsg(Path("file.txt")));
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].text, "File \"" + folder + "\" does not exist");
    EXPECT_EQ(recorder.messages[1].text, "No file specified!");
}

TEST_F(TemporaryFolder, CreateFolderMsg)
{
    MessageRecorder recorder;
    EXPECT_EQ(CreateFolderMsg(Path("")), 0);
    EXPECT_EQ(CreateFolderMsg(Path("a/b/c/")), 1);
    EXPECT_TRUE(FolderExists(Path("a/b/c")));
    EXPECT_TRUE(recorder.messages.empty());

    std::ofstream(Path("file")) << "x";
    EXPECT_EQ(CreateFolderMsg(Path("file/below")), -1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].caption, "Error");
    EXPECT_EQ(recorder.messages[0].text, "Cannot create directory!\r\n" + Path("file/below"));
    EXPECT_THROW(ForceDirectories(""), std::runtime_error);
}

}  // namespace
}  // namespace selvane

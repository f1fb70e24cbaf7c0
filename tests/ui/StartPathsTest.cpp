// The desktop program's start arguments read against real files and folders.
#include "ui/mainform/StartPaths.h"

#include "platform/CurrentFolder.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

using test::TestSandbox;

// Arguments and expectations are relative to the sandbox's "pictures" folder, which is
// also the current folder; "~" in an expected folder or argument stands for it.
struct StartCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string folder;
    std::vector<std::string> names;
    std::vector<std::string> missing;
    std::vector<std::string> elsewhere = {};
    bool namedFolder = false;
};

void PrintTo(const StartCase& row, std::ostream* out)
{
    *out << row.name;
}

class StartPathsTest : public ::testing::TestWithParam<StartCase> {
protected:
    void SetUp() override
    {
        TestSandbox::WriteFile(Pictures() / "a.jpg", "a");
        TestSandbox::WriteFile(Pictures() / "b c.png", "b");
        TestSandbox::WriteFile(Pictures() / "more/d.jpg", "d");
        previous_ = platform::GetCurrentFolder();
        platform::SetCurrentFolder(Pictures().string());
    }
    void TearDown() override { platform::SetCurrentFolder(previous_); }

    std::filesystem::path Pictures() const { return sandbox_.Root() / "pictures"; }
    std::string Expand(const std::string& text) const
    {
        return text.starts_with('~') ? Pictures().string() + text.substr(1) : text;
    }

    TestSandbox sandbox_;
    std::string previous_;
};

TEST_P(StartPathsTest, ReadsTheFolderAndThePicturesToSelect)
{
    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments) arguments.push_back(Expand(argument));
    std::vector<std::string> missing;
    for (const std::string& argument : GetParam().missing) missing.push_back(Expand(argument));
    std::vector<std::string> elsewhere;
    for (const std::string& argument : GetParam().elsewhere) elsewhere.push_back(Expand(argument));

    const StartPaths start = ReadStartPaths(arguments);

    EXPECT_EQ(start.folder, GetParam().folder.empty() ? "" : Expand(GetParam().folder));
    EXPECT_EQ(start.names, GetParam().names);
    EXPECT_EQ(start.missing, missing);
    EXPECT_EQ(start.elsewhere, elsewhere);
    EXPECT_EQ(start.namedFolder, GetParam().namedFolder);
}

const StartCase kStartCases[] = {
    {"NoArguments", {}, "", {}, {}},
    {"AFolder", {"~/more"}, "~/more/", {}, {}, {}, true},
    {"AFolderWithTrailingSeparator", {"~/more/"}, "~/more/", {}, {}, {}, true},
    {"FilesOpenTheirFolder", {"~/b c.png", "~/a.jpg"}, "~/", {"b c.png", "a.jpg"}, {}},
    {"RelativeToTheCurrentFolder", {"more/../a.jpg", "."}, "~/", {"a.jpg"}, {}, {}, true},
    {"FilesElsewhereAndLaterFoldersAreLeftAlone",
     {"~/a.jpg", "~/more/d.jpg", "~/more"},
     "~/",
     {"a.jpg"},
     {},
     {"~/more/d.jpg", "~/more"}},
    {"AFolderAndAPictureInIt", {"~/more/d.jpg", "~/more"}, "~/more/", {"d.jpg"}, {}, {}, true},
    {"AMissingPathIsReportedAndTheNextOneDecides",
     {"~/gone.jpg", "~/more/d.jpg"},
     "~/more/",
     {"d.jpg"},
     {"~/gone.jpg"}},
    {"NothingThatExists", {"~/gone", "/no/such/folder/"}, "", {}, {"~/gone", "/no/such/folder/"}},
};

INSTANTIATE_TEST_SUITE_P(Arguments, StartPathsTest, ::testing::ValuesIn(kStartCases), test::CaseName);

}  // namespace
}  // namespace selvane

#include "platform/PatternSearch.h"

#include "platform/CurrentFolder.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace selvane::platform {
namespace {

using selvane::test::TestSandbox;

struct PatternCase {
    const char* name;
    const char* pattern;
    bool matches;
};

class MatchesPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(MatchesPatternTest, FollowsTheSearchRules)
{
    const PatternCase& row = GetParam();
    EXPECT_EQ(MatchesPattern(row.name, row.pattern), row.matches)
        << "name \"" << row.name << "\", pattern \"" << row.pattern << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, MatchesPatternTest,
    ::testing::Values(PatternCase{"photo.JPG", "*.jpg", true},  // no regard to case
                      PatternCase{"PHOTO.jpg", "photo.JPG", true}, PatternCase{"photo.jpeg", "*.jpg", false},
                      PatternCase{"photo.jpg.bak", "*.jpg", false},
                      PatternCase{"archive.tar.gz", "*.gz", true},
                      PatternCase{"README", "*.*", true},  // "*.*" is every name, dot or not
                      PatternCase{".profile", "*.*", true}, PatternCase{"abc", "a?c", true},
                      PatternCase{"ac", "a?c", false}, PatternCase{"abbc", "a?c", false},
                      PatternCase{"aXbYc", "a*b*c", true}, PatternCase{"aXbY", "a*b*c", false},
                      PatternCase{"anything", "*", true}, PatternCase{"a", "", false},
                      PatternCase{"IMG 12:30.jpg", "img*:30.*", true},  // colons and spaces are ordinary
                      PatternCase{"\xC3\xA9t\xC3\xA9.png", "?t?.png",
                                  true},  // "?" is one character, not one byte
                      PatternCase{"\xC3\x84RGER.png", "\xC3\xA4rger.PNG", true},  // case beyond ASCII
                      PatternCase{"\xFF.jpg", "?.jpg", true},  // a stray byte is one character
                      PatternCase{"\xFF\xFE.jpg", "?.jpg", false},
                      PatternCase{"star*.jpg", "star*.jpg", true},  // a name may hold the wildcards
                      PatternCase{"what?.txt", "WHAT?.TXT", true}));

std::vector<std::string> NamesOf(const std::vector<FoundEntry>& entries)
{
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    return names;
}

const FoundEntry& Entry(const std::vector<FoundEntry>& entries, const std::string& name)
{
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const FoundEntry& e) { return e.name == name; });
    if (found == entries.end()) throw std::runtime_error("no entry " + name);
    return *found;
}

class FindEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = sandbox_.Root() / "pictures";
        TestSandbox::WriteFile(folder_ / "b.JPG", "b");
        TestSandbox::WriteFile(folder_ / "a.jpg", "a");
        TestSandbox::WriteFile(folder_ / "c.png", "c");
        TestSandbox::WriteFile(folder_ / ".hidden.jpg", "h");
        TestSandbox::WriteFile(folder_ / "star*.jpg", "s");
        std::filesystem::create_directory(folder_ / "album.jpg");
        std::filesystem::create_symlink("missing-target", folder_ / "dangling.jpg");
        mkfifo((folder_ / "pipe.jpg").c_str(), 0644);
    }

    // The folder's names in the order the directory gives them.
    std::vector<std::string> DirectoryOrder() const
    {
        std::vector<std::string> names;
        DIR* directory = opendir(folder_.c_str());
        while (const dirent* entry = readdir(directory)) names.push_back(entry->d_name);
        closedir(directory);
        return names;
    }

    TestSandbox sandbox_;
    std::filesystem::path folder_;
};

TEST_F(FindEntriesTest, YieldsMatchingEntriesInDirectoryOrderWithTheirAttributes)
{
    const auto found = FindEntries(folder_.string() + "/*.jpg");

    std::vector<std::string> expected;
    for (const auto& name : DirectoryOrder())
        if (MatchesPattern(name, "*.jpg")) expected.push_back(name);
    EXPECT_EQ(NamesOf(found), expected);
    EXPECT_EQ(found.size(), 7u);

    EXPECT_TRUE(Entry(found, "a.jpg").attributes.archive);
    EXPECT_FALSE(Entry(found, "a.jpg").attributes.hidden);
    EXPECT_TRUE(Entry(found, "b.JPG").attributes.archive);
    EXPECT_TRUE(Entry(found, ".hidden.jpg").attributes.hidden);
    EXPECT_TRUE(Entry(found, "album.jpg").attributes.directory);
    EXPECT_TRUE(Entry(found, "dangling.jpg").attributes.system);
    EXPECT_TRUE(Entry(found, "pipe.jpg").attributes.system);
    EXPECT_TRUE(Entry(found, "star*.jpg").attributes.archive);
}

TEST_F(FindEntriesTest, StarDotStarFindsEveryEntryIncludingDotAndDotDot)
{
    const auto found = FindEntries(folder_.string() + "/*.*");
    EXPECT_EQ(NamesOf(found), DirectoryOrder());
    EXPECT_TRUE(Entry(found, "..").attributes.directory);
    EXPECT_FALSE(Entry(found, "..").attributes.hidden);
}

TEST_F(FindEntriesTest, APatternWithoutFolderSearchesTheCurrentFolder)
{
    const std::string previous = GetCurrentFolder();
    SetCurrentFolder(folder_.string());
    const auto found = FindEntries("*.PNG");
    SetCurrentFolder(previous);
    EXPECT_EQ(NamesOf(found), std::vector<std::string>{"c.png"});
}

TEST_F(FindEntriesTest, FindsNothingForAnEmptyPatternOrAMissingFolder)
{
    EXPECT_TRUE(FindEntries(folder_.string() + "/").empty());
    EXPECT_TRUE(FindEntries((folder_ / "missing").string() + "/*.*").empty());
    EXPECT_TRUE(FindEntries((folder_ / "a.jpg").string() + "/*.*").empty());
}

}  // namespace
}  // namespace selvane::platform

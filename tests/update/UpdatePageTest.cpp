#include "update/UpdatePage.h"

#include "tests/support/UpdateTestFiles.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace selvane {

// Readable failure messages for whole found-value sets.
void PrintTo(const TFoundInfo& found, std::ostream* out)
{
    *out << "{Product=" << found.ProductName << " Version=" << found.Version
         << " ClientFileName=" << found.ClientFileName << " Download=" << found.Download
         << " Redirection=" << found.Redirection << " Author=" << found.Author << " Email=" << found.Email
         << " RunParameters=" << found.RunParameters << "}";
}

namespace {

using test::Meta;

struct SplitCase {
    std::string text;
    std::vector<std::string> lines;
};

class SplitPageLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPageLinesTest, SplitsAtEveryKindOfLineBreak)
{
    EXPECT_EQ(SplitPageLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitPageLinesTest,
                         ::testing::Values(SplitCase{"", {}}, SplitCase{"one", {"one"}},
                                           SplitCase{"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                                           SplitCase{"a\n\nb\n", {"a", "", "b"}}, SplitCase{"\r\n", {""}},
                                           SplitCase{"\r\r\n", {"", ""}},
                                           SplitCase{std::string("a\nb\0c\nd", 7), {"a", "b"}}));

struct ContentCase {
    std::string line;
    std::string value;
};

class ExtractContentTest : public ::testing::TestWithParam<ContentCase> {};

TEST_P(ExtractContentTest, TakesTheFirstQuotedValueUpTo254Characters)
{
    EXPECT_EQ(ExtractContent(GetParam().line), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Lines, ExtractContentTest,
                         ::testing::Values(ContentCase{Meta("x", "1.5.3.56"), "1.5.3.56"},
                                           ContentCase{"<meta name=\"x\" content=\"lower\">", "lower"},
                                           ContentCase{"CONTENT=\"first\" CONTENT=\"second\"", "first"},
                                           ContentCase{Meta("x", std::string(254, 'v')),
                                                       std::string(254, 'v')},
                                           ContentCase{Meta("x", std::string(255, 'v')), ""},
                                           ContentCase{Meta("x", std::string(300, 'v')), ""},
                                           ContentCase{"<META NAME=\"x\" CONTENT=\"unclosed>", ""},
                                           ContentCase{"<META NAME=\"x\">", ""}, ContentCase{"CONTENT=", ""},
                                           ContentCase{"CONTENT=\"\"", ""}));

using Field = std::string TFoundInfo::*;

TFoundInfo Found(std::initializer_list<std::pair<Field, std::string>> values)
{
    TFoundInfo found;
    for (const auto& [field, value] : values) found.*field = value;
    return found;
}

struct PageCase {
    std::string name;
    std::vector<std::string> lines;
    TFoundInfo found;
};

class ParseUpdateInfoTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(ParseUpdateInfoTest, ReadsTheValuesOfTheConfiguredTags)
{
    EXPECT_EQ(ParseUpdateInfo(GetParam().lines, kSiteTagInfo), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ParseUpdateInfoTest,
    ::testing::Values(
        PageCase{"EveryTag",
                 {"<html><head>", Meta("TessaroProduct", "Selvane Image Resizer"),
                  Meta("TessaroVersion", "1.5.4.0"), Meta("TessaroAuthor", "The maker"),
                  Meta("TessaroEmail", "mail@selvane.example"),
                  Meta("TessaroDownload", "http://www.selvane.example/setup.exe"),
                  Meta("TessaroClientSideName", "SelvaneSetup.exe"),
                  Meta("TessaroRedirection", "http://mirror.example/index.html"),
                  Meta("TessaroRunParameters", "/silent"), "</head></html>"},
                 Found({{&TFoundInfo::Version, "1.5.4.0"},
                        {&TFoundInfo::Download, "http://www.selvane.example/setup.exe"},
                        {&TFoundInfo::ClientFileName, "SelvaneSetup.exe"},
                        {&TFoundInfo::Redirection, "http://mirror.example/index.html"},
                        {&TFoundInfo::Author, "The maker"},
                        {&TFoundInfo::Email, "mail@selvane.example"},
                        {&TFoundInfo::ProductName, "Selvane Image Resizer"},
                        {&TFoundInfo::RunParameters, "/silent"}})},
        PageCase{"LowerCaseKeywords",
                 {"  <meta name=\"TessaroVersion\" content=\"1.5.4.0\">"},
                 Found({{&TFoundInfo::Version, "1.5.4.0"}})},
        PageCase{"TagNameInOtherCaseIsAnotherTag",
                 {Meta("tessaroversion", "9.9"), Meta("TESSAROPRODUCT", "x")},
                 {}},
        PageCase{"TwoTagsOnOneLineGiveTheFirstWithTheFirstContent",
                 {Meta("TessaroProduct", "Selvane") + Meta("TessaroVersion", "2.0")},
                 Found({{&TFoundInfo::ProductName, "Selvane"}})},
        PageCase{"Value254Read255Empty",
                 {Meta("TessaroAuthor", std::string(254, 'a')), Meta("TessaroEmail", std::string(255, 'e'))},
                 Found({{&TFoundInfo::Author, std::string(254, 'a')}})},
        PageCase{
            "RepeatedTagLastWins",
            {Meta("TessaroVersion", "1.0"), Meta("TessaroVersion", "2.0"), Meta("TessaroVersion", "1.5")},
            Found({{&TFoundInfo::Version, "1.5"}})},
        PageCase{"LaterEmptyValueReplacesEarlierOne",
                 {Meta("TessaroVersion", "1.0"), Meta("TessaroVersion", "")},
                 {}},
        PageCase{"SpaceAfterNameIsNotAllowed", {"<META NAME= \"TessaroVersion\" CONTENT=\"3.0\">"}, {}},
        PageCase{"MatchingTagWithoutContentGivesEmpty",
                 {Meta("TessaroVersion", "1.0"), "<META NAME=\"TessaroVersion\">"},
                 {}},
        PageCase{"LinesWithoutMetaAreSkipped", {"<p>CONTENT=\"not a tag\"</p>", "TessaroVersion", ""}, {}}),
    [](const ::testing::TestParamInfo<PageCase>& row) { return row.param.name; });

}  // namespace
}  // namespace selvane

// JSON strings as --log-format jsonl writes them: valid JSON and valid UTF-8 whatever a
// path holds.
#include "app/JsonRecord.h"
#include "app/BatchPaths.h"

#include <gtest/gtest.h>

#include <sstream>

namespace selvane {
namespace {

TEST(JsonString, EscapesWhatJsonMustAndKeepsUtf8)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain/path.jpg", "\"plain/path.jpg\""},
        {"say \"cheese\" \\ now", "\"say \\\"cheese\\\" \\\\ now\""},
        {"tab\there\nline\x01", "\"tab\\u0009here\\u000aline\\u0001\""},
        {"caf\xc3\xa9 \xf0\x9f\x93\xb7", "\"caf\xc3\xa9 \xf0\x9f\x93\xb7\""},
        // Not UTF-8: a lone byte, an overlong slash, a surrogate, a cut-off sequence.
        {"a\xff"
         "b",
         "\"a\xef\xbf\xbd"
         "b\""},
        {"\xc0\xaf", "\"\xef\xbf\xbd\xef\xbf\xbd\""},
        {"\xed\xa0\x80", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""},
        {"end\xe2\x82", "\"end\xef\xbf\xbd\xef\xbf\xbd\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json) << text;
}

TEST(PathList, SplitsOnLineEndsOrOnNul)
{
    std::istringstream lines("a.jpg\n\nwith space.png\nlast.gif");
    EXPECT_EQ(ReadPathList(lines, false), (std::vector<std::string>{"a.jpg", "with space.png", "last.gif"}));
    std::istringstream nul(std::string("new\nline.jpg\0b.png\0", 19));
    EXPECT_EQ(ReadPathList(nul, true), (std::vector<std::string>{"new\nline.jpg", "b.png"}));
}

}  // namespace
}  // namespace selvane

#include "platform/DesktopEntry.h"

#include <gtest/gtest.h>

namespace selvane::platform {
namespace {

struct QuoteCase {
    std::string argument;
    std::string fileText;  // as it must stand in the .desktop file
};

class QuoteExecArgumentTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteExecArgumentTest, QuotesThenEscapesAsTheDesktopEntryRulesRequire)
{
    EXPECT_EQ(QuoteExecArgument(GetParam().argument), GetParam().fileText);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuoteExecArgumentTest,
    ::testing::Values(QuoteCase{"/usr/bin/selvane-resizer", R"("/usr/bin/selvane-resizer")"},
                      QuoteCase{"/opt/Selvane Image Resizer/run", R"("/opt/Selvane Image Resizer/run")"},
                      // Quoting escapes '"', '`', '$' and '\'; the string rule then doubles each backslash.
                      QuoteCase{R"(/a"b)", R"("/a\\"b")"}, QuoteCase{"/a`b", R"("/a\\`b")"},
                      QuoteCase{"/a$HOME", R"("/a\\$HOME")"}, QuoteCase{R"(/a\b)", R"("/a\\\\b")"},
                      QuoteCase{"/50%/x", R"("/50%%/x")"},  // not a field code
                      QuoteCase{"/a\nb", R"("/a\nb")"}));   // the line break as an escape, not a new line

TEST(FormatDesktopEntryTest, WritesAnApplicationEntry)
{
    EXPECT_EQ(FormatDesktopEntry({"Selvane Image Resizer", "/opt/sel vane/run", "/opt/sel vane/"}),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Selvane Image Resizer\n"
              "Exec=\"/opt/sel vane/run\"\n"
              "Path=/opt/sel vane/\n");
    EXPECT_EQ(FormatDesktopEntry({" lead\\ing", "/p", ""}), "[Desktop Entry]\n"
                                                            "Type=Application\n"
                                                            "Name=\\slead\\\\ing\n"
                                                            "Exec=\"/p\"\n");
}

}  // namespace
}  // namespace selvane::platform

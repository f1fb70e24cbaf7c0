// The on/off switches of selvane-resize: each sets its own option and no other, and the
// options left alone keep the defaults the desktop program starts with.
#include "app/ResizeCommandLine.h"

#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

struct SwitchCase {
    const char* name;
    std::vector<std::string> arguments;  // before the one path
    bool overwrite = true;
    bool addFilterName = false;
    bool protect = true;
    bool autoOrient = true;
    bool toSrgb = false;
    bool keepMetadata = true;
    bool stripGps = false;
};

class ResizeSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(ResizeSwitchTest, SetsItsOptionOnly)
{
    const SwitchCase& row = GetParam();
    std::vector<std::string> arguments = row.arguments;
    arguments.push_back("photo.jpg");
    const JobOptions options = ParseResizeCommandLine(arguments).options;
    EXPECT_EQ(options.overwrite, row.overwrite);
    EXPECT_EQ(options.addFilterName, row.addFilterName);
    EXPECT_EQ(options.protect, row.protect);
    EXPECT_EQ(options.autoOrient, row.autoOrient);
    EXPECT_EQ(options.toSrgb, row.toSrgb);
    EXPECT_EQ(options.keepMetadata, row.keepMetadata);
    EXPECT_EQ(options.stripGps, row.stripGps);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, ResizeSwitchTest,
    ::testing::Values(
        SwitchCase{.name = "None", .arguments = {}},
        SwitchCase{.name = "NoOverwrite", .arguments = {"--no-overwrite"}, .overwrite = false},
        SwitchCase{.name = "AddFilterName", .arguments = {"--add-filter-name"}, .addFilterName = true},
        SwitchCase{.name = "NoProtect", .arguments = {"--no-protect"}, .protect = false},
        SwitchCase{.name = "NoAutoOrient", .arguments = {"--no-auto-orient"}, .autoOrient = false},
        SwitchCase{.name = "ToSrgb", .arguments = {"--to-srgb"}, .toSrgb = true},
        SwitchCase{.name = "StripMetadata", .arguments = {"--strip-metadata"}, .keepMetadata = false},
        SwitchCase{.name = "StripGps", .arguments = {"--strip-gps"}, .stripGps = true},
        // Given together, each still says only its own thing.
        SwitchCase{.name = "StripBoth",
                   .arguments = {"--strip-gps", "--strip-metadata"},
                   .keepMetadata = false,
                   .stripGps = true},
        SwitchCase{.name = "All",
                   .arguments = {"--no-overwrite", "--add-filter-name", "--no-protect", "--no-auto-orient",
                                 "--to-srgb", "--strip-metadata", "--strip-gps"},
                   .overwrite = false,
                   .addFilterName = true,
                   .protect = false,
                   .autoOrient = false,
                   .toSrgb = true,
                   .keepMetadata = false,
                   .stripGps = true}),
    test::CaseName);

}  // namespace
}  // namespace selvane

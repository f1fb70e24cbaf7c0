// The on/off switches of selvane-resize: each sets its own option and no other, and the
// options left alone keep the defaults the desktop program starts with. The size rules
// take their own fields.
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

struct RuleCase {
    const char* name;
    std::vector<std::string> arguments;  // before the one path
    ResizeRule rule;
    int fitWidth = 1920, fitHeight = 1080, wh = 600, percent = 50;
    bool noEnlarge = false;
};

class ResizeRuleArgumentTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ResizeRuleArgumentTest, FillsTheRuleAndItsFields)
{
    const RuleCase& row = GetParam();
    std::vector<std::string> arguments = row.arguments;
    arguments.push_back("photo.jpg");
    const SizeOptions size = ParseResizeCommandLine(arguments).options.size;
    EXPECT_EQ(size.rule, row.rule);
    EXPECT_EQ(size.fitWidth, row.fitWidth);
    EXPECT_EQ(size.fitHeight, row.fitHeight);
    EXPECT_EQ(size.wh, row.wh);
    EXPECT_EQ(size.percent, row.percent);
    EXPECT_EQ(size.noEnlarge, row.noEnlarge);
}

INSTANTIATE_TEST_SUITE_P(Rules, ResizeRuleArgumentTest,
                         ::testing::Values(RuleCase{.name = "FitDefaultBox",
                                                    .arguments = {"--rule", "fit"},
                                                    .rule = ResizeRule::FitBox},
                                           RuleCase{.name = "FitBox",
                                                    .arguments = {"--rule", "fit", "--width", "1366",
                                                                  "--height", "768"},
                                                    .rule = ResizeRule::FitBox,
                                                    .fitWidth = 1366,
                                                    .fitHeight = 768},
                                           RuleCase{.name = "LongSide",
                                                    .arguments = {"--rule", "long-side", "--size", "1000"},
                                                    .rule = ResizeRule::LongSide,
                                                    .wh = 1000},
                                           RuleCase{.name = "ShortSide",
                                                    .arguments = {"--rule", "short-side", "--size", "90"},
                                                    .rule = ResizeRule::ShortSide,
                                                    .wh = 90},
                                           RuleCase{.name = "Percent",
                                                    .arguments = {"--rule", "percent", "--percent", "1000"},
                                                    .rule = ResizeRule::Percent,
                                                    .percent = 1000},
                                           RuleCase{.name = "NoEnlarge",
                                                    .arguments = {"--rule", "same-width", "--no-enlarge"},
                                                    .rule = ResizeRule::SameWidth,
                                                    .noEnlarge = true}),
                         test::CaseName);

TEST(ResizeRuleArgument, WrongCombinationsAreUsageErrors)
{
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--percent", "50"},
                                                      {"--rule", "percent", "--percent", "0"},
                                                      {"--rule", "percent", "--percent", "1001"},
                                                      {"--rule", "increase", "--no-enlarge"},
                                                      {"--rule", "fit", "--size", "10"},
                                                      {"--rule", "long-side", "--width", "5"},
                                                      {"--rule", "short-side", "--height", "5"},
                                                      {"--rule", "fit", "--percent", "20"},
                                                      {"--format", "gif"},
                                                      {"--lossless"},
                                                      {"--format", "avif", "--lossless"},
                                                      {"--format", "png", "--optimize"},
                                                      {"--format", "webp", "--progressive"},
                                                      {"--format", "png", "--max-size", "100"},
                                                      {"--format", "jxl", "--lossless", "--max-size", "100"},
                                                      {"--max-size", "0"}}) {
        std::vector<std::string> line = arguments;
        line.push_back("photo.jpg");
        EXPECT_THROW(ParseResizeCommandLine(line), std::invalid_argument)
            << testing::PrintToString(arguments);
    }
}

}  // namespace
}  // namespace selvane

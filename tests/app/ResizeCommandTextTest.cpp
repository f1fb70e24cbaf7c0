// The command the window copies for a batch: read back by a POSIX shell and the command
// line's parser, it gives the window's options and pictures, for every option there is.
#include "engine/job/ResizeCommandText.h"
#include "app/ResizeCommandLine.h"

#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace selvane {
namespace {

// The words a shell makes of command, the program's name first.
std::vector<std::string> ShellWords(const std::string& command)
{
    const std::string printed = "printf '%s\\0'" + command.substr(command.find(' '));
    FILE* pipe = popen(printed.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    pclose(pipe);
    std::vector<std::string> words;
    for (std::size_t start = 0, end; (end = output.find('\0', start)) != std::string::npos; start = end + 1)
        words.push_back(output.substr(start, end - start));
    return words;
}

struct TextCase {
    const char* name;
    void (*change)(JobOptions&);
};

class ResizeCommandTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ResizeCommandTextTest, ReadsBackAsTheSameOptions)
{
    JobOptions options;
    GetParam().change(options);
    const std::vector<std::string> pictures = {"/photos/plain.jpg", "/photos/with space.png",
                                               "/photos/it's \"$HOME\".gif", "/photos/-dash.bmp",
                                               "/photos/star*?[x].tif"};
    const std::string text = ResizeCommandText(options, pictures);
    ASSERT_TRUE(text.starts_with("selvane-resize ")) << text;
    const ResizeCommandLine line = ParseResizeCommandLine(ShellWords(text));
    EXPECT_EQ(line.paths, pictures) << text;
    EXPECT_TRUE(line.outputFolder.empty());
    const JobOptions& read = line.options;
    const SizeOptions& size = read.size;
    EXPECT_EQ(size.rule, options.size.rule) << text;
    EXPECT_EQ(GetResizeFactor(size.round, size.zecimal),
              GetResizeFactor(options.size.round, options.size.zecimal));
    const bool sameSize = options.size.rule == ResizeRule::SameSize;
    if (sameSize) {
        EXPECT_EQ(size.width, options.size.width);
        EXPECT_EQ(size.height, options.size.height);
    }
    const bool bySide =
        options.size.rule == ResizeRule::SameWidth || options.size.rule == ResizeRule::SameHeight ||
        options.size.rule == ResizeRule::LongSide || options.size.rule == ResizeRule::ShortSide;
    if (bySide) {
        EXPECT_EQ(size.wh, options.size.wh);
    }
    EXPECT_EQ(size.fitWidth, options.size.fitWidth);
    EXPECT_EQ(size.fitHeight, options.size.fitHeight);
    EXPECT_EQ(size.percent, options.size.percent);
    EXPECT_EQ(size.noEnlarge, options.size.noEnlarge);
    EXPECT_EQ(read.quality, options.quality);
    EXPECT_EQ(read.filterIndex, options.filterIndex);
    EXPECT_EQ(read.overwrite, options.overwrite);
    EXPECT_EQ(read.addFilterName, options.addFilterName);
    EXPECT_EQ(read.protect, options.protect);
    EXPECT_EQ(read.autoOrient, options.autoOrient);
    EXPECT_EQ(read.toSrgb, options.toSrgb);
    EXPECT_EQ(read.keepMetadata, options.keepMetadata);
    EXPECT_EQ(read.stripGps, options.stripGps);
    EXPECT_EQ(read.format, options.format);
    EXPECT_EQ(read.lossless, options.lossless);
    EXPECT_EQ(read.optimize, options.optimize);
    EXPECT_EQ(read.progressive, options.progressive);
    EXPECT_EQ(read.maxSizeKB, options.maxSizeKB);
}

INSTANTIATE_TEST_SUITE_P(
    Options, ResizeCommandTextTest,
    ::testing::Values(
        TextCase{"Defaults", [](JobOptions&) {}},
        TextCase{
            "IncreaseByTenths",
            [](JobOptions& o) { o.size.rule = ResizeRule::Increase, o.size.round = 1, o.size.zecimal = 5; }},
        TextCase{"TenthsBorrowedWhileTyped", [](JobOptions& o) { o.size.round = 3, o.size.zecimal = -1; }},
        TextCase{"SameSize",
                 [](JobOptions& o) {
                     o.size.rule = ResizeRule::SameSize, o.size.width = 640, o.size.height = 480;
                 }},
        TextCase{"SameWidth", [](JobOptions& o) { o.size.rule = ResizeRule::SameWidth, o.size.wh = 800; }},
        TextCase{"SameHeight", [](JobOptions& o) { o.size.rule = ResizeRule::SameHeight, o.size.wh = 90; }},
        TextCase{"FitBox",
                 [](JobOptions& o) {
                     o.size.rule = ResizeRule::FitBox, o.size.fitWidth = 1366, o.size.fitHeight = 768;
                 }},
        TextCase{"LongSideNeverEnlarged",
                 [](JobOptions& o) {
                     o.size.rule = ResizeRule::LongSide, o.size.wh = 2048, o.size.noEnlarge = true;
                 }},
        TextCase{"ShortSide", [](JobOptions& o) { o.size.rule = ResizeRule::ShortSide, o.size.wh = 300; }},
        TextCase{"Percent", [](JobOptions& o) { o.size.rule = ResizeRule::Percent, o.size.percent = 33; }},
        TextCase{"FilterAndQuality", [](JobOptions& o) { o.filterIndex = 4, o.quality = 95; }},
        TextCase{"SmallerJpegs",
                 [](JobOptions& o) { o.optimize = true, o.progressive = true, o.maxSizeKB = 300; }},
        TextCase{"LosslessWebp", [](JobOptions& o) { o.format = OutputFormat::Webp, o.lossless = true; }},
        TextCase{"AvifUnderALimit", [](JobOptions& o) { o.format = OutputFormat::Avif, o.maxSizeKB = 90; }},
        TextCase{"Png", [](JobOptions& o) { o.format = OutputFormat::Png; }},
        TextCase{"JpegXl", [](JobOptions& o) { o.format = OutputFormat::Jxl; }},
        TextCase{"EverySwitch",
                 [](JobOptions& o) {
                     o.overwrite = false, o.addFilterName = true, o.protect = false, o.autoOrient = false;
                     o.toSrgb = true, o.keepMetadata = false, o.stripGps = true;
                 }}),
    test::CaseName);

TEST(ResizeCommandText, NamesAChosenOutputFolder)
{
    const std::string text = ResizeCommandText(JobOptions{}, {"/p/a.jpg"}, "/out/it's here/");
    EXPECT_EQ(ParseResizeCommandLine(ShellWords(text)).outputFolder, "/out/it's here/");
}

TEST(ShellWord, QuotesOnlyWhatTheShellWouldRead)
{
    EXPECT_EQ(ShellWord("/photos/a-b_c.d,e+f@g%h=i:j.jpg"), "/photos/a-b_c.d,e+f@g%h=i:j.jpg");
    EXPECT_EQ(ShellWord("a b"), "'a b'");
    EXPECT_EQ(ShellWord("it's"), "'it'\\''s'");
    EXPECT_EQ(ShellWord(""), "''");
    EXPECT_EQ(ShellWord("~/x"), "'~/x'");
}

}  // namespace
}  // namespace selvane

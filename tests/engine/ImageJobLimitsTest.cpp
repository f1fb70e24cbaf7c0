// The rasters a job makes stay within kMaxOutputPixels, the resampler's first pass
// included: a tiny file of a tall, one-pixel-wide picture made wide would otherwise ask for
// a first-pass raster of the output's width by the picture's whole height.
#include "engine/ImageJob.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace selvane {
namespace {

class NoPreviewHost : public JobHost {
public:
    void AppendLog(const std::string& line) override { log.push_back(line); }
    void ShowError(const std::string& text) override { log.push_back("box: " + text); }
    void PictureLoaded(const Raster&, bool) override {}
    void FocusFactorField() override {}

    std::vector<std::string> log;
};

class ImageJobLimitsTest : public testing::TemporaryFolderTest {};

TEST_F(ImageJobLimitsTest, RefusesAPictureWhoseFirstPassWouldOutgrowTheCap)
{
    const int height = 1 << 22;
    testing::WriteBytes(Path("tall.bmp"), testing::EmptyRleBmpBytes(1, height));
    JobOptions options;
    options.size.rule = ResizeRule::SameSize;
    options.size.width = 20000;  // 20000 x 2^22 pixels in the first pass; 20000 x 10 out
    options.size.height = 10;
    NoPreviewHost host;

    const JobResult result = ProcessImage(Path("tall.bmp"), Folder(), options, host);

    EXPECT_TRUE(result.SavedPath.empty());
    EXPECT_TRUE(result.ContinueBatch);
    EXPECT_EQ(host.log, std::vector<std::string>{"WARNING! Output size out of range (20000 x 10), picture skipped: " +
                                                 Path("tall.bmp")});
    EXPECT_FALSE(std::filesystem::exists(Path("tall.jpg")));
}

}  // namespace
}  // namespace selvane

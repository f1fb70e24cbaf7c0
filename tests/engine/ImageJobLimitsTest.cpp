// The rasters a job makes stay within kMaxOutputPixels, the resampler's first pass
// included: a tiny file of a tall, one-pixel-wide picture made wide would otherwise ask for
// a first-pass raster of the output's width by the picture's whole height. And an output
// no JPEG file can hold is refused before any resampling, not reported as a failed save.
#include "engine/codec/JpegEncoder.h"
#include "engine/job/ImageJob.h"
#include "tests/support/TestFiles.h"

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

class ImageJobLimitsTest : public test::TemporaryFolderTest {};

TEST_F(ImageJobLimitsTest, RefusesAPictureWhoseFirstPassWouldOutgrowTheCap)
{
    const int height = 1 << 22;
    test::WriteBytes(Path("tall.bmp"), test::EmptyRleBmpBytes(1, height));
    JobOptions options;
    options.size.rule = ResizeRule::SameSize;
    options.size.width = 20000;  // 20000 x 2^22 pixels in the first pass; 20000 x 10 out
    options.size.height = 10;
    NoPreviewHost host;

    const JobResult result = ProcessImage(Path("tall.bmp"), Folder(), options, host);

    EXPECT_TRUE(result.SavedPath.empty());
    EXPECT_TRUE(result.ContinueBatch);
    EXPECT_EQ(host.log,
              std::vector<std::string>{"WARNING! Output size out of range (20000 x 10), picture skipped: " +
                                       Path("tall.bmp")});
    EXPECT_FALSE(std::filesystem::exists(Path("tall.jpg")));
}

TEST_F(ImageJobLimitsTest, RefusesAnOutputWiderThanJpegAllowsBeforeResampling)
{
    // Found by fuzz_image_job: 131072 x 2 pixels in 70 bytes of RLE.
    const std::string source = std::string(SELVANE_FIXTURES_DIR) + "/bmp/rle8-131072x2.bmp";
    JobOptions options;
    options.size.round = 1;
    options.size.zecimal = 1;  // decrease by 1.1
    NoPreviewHost host;

    const JobResult result = ProcessImage(source, Folder(), options, host);

    EXPECT_TRUE(result.SavedPath.empty());
    EXPECT_EQ(host.log, std::vector<std::string>{
                            "WARNING! Output size out of range (119156 x 2), picture skipped: " + source});
    EXPECT_TRUE(std::filesystem::is_empty(Folder()));
}

TEST_F(ImageJobLimitsTest, WritesAnOutputAsWideAsJpegAllows)
{
    test::WriteBytes(Path("wide.bmp"), test::EmptyRleBmpBytes(2 * kMaxJpegSide, 2));
    NoPreviewHost host;  // the default rule halves: 65500 x 1

    const JobResult result = ProcessImage(Path("wide.bmp"), Folder(), JobOptions{}, host);

    EXPECT_EQ(result.SavedPath, Path("wide.jpg"));
    EXPECT_TRUE(host.log.empty());
}

}  // namespace
}  // namespace selvane

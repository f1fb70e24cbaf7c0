#include "engine/job/ImageJob.h"
#include "engine/codec/JpegEncoder.h"
#include "engine/codec/JpegErrorHandler.h"
#include "engine/codec/PictureLoader.h"
#include "engine/job/BatchJob.h"
#include "engine/resample/Resampler.h"
#include "PictureFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace selvane {
namespace {

using test::BmpBytes;
using test::RandomRaster;
using test::WriteBytes;

class RecordingHost : public BatchHost {
public:
    void AppendLog(const std::string& line) override { log.push_back(line); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void PictureLoaded(const Raster& picture, bool) override { previewWidth = picture.Width(); }
    void FocusFactorField() override { ++focusRequests; }
    std::string SourcePath(const std::string& name) override { return folder + name; }
    std::string OutputFolder(const std::string&) override { return folder + "Output/"; }
    JobOptions Options() override { return options; }
    void BeforeFile(const std::string& name) override
    {
        visited.push_back(name);
        if (name == abortAfterVisiting) abort = true;
    }
    bool AbortRequested() override { return abort; }

    std::string folder;
    JobOptions options;
    std::vector<std::string> log, errors, visited;
    std::string abortAfterVisiting;
    bool abort = false;
    int previewWidth = 0;
    int focusRequests = 0;
};

class ImageJob : public test::TemporaryFolderTest {
protected:
    void SetUp() override
    {
        host.folder = Folder();
        std::filesystem::create_directory(Output());
    }
    std::string Output() const { return Folder() + "Output/"; }
    JobResult Run(const std::string& name) { return ProcessImage(Path(name), Output(), host.options, host); }

    RecordingHost host;
};

TEST(OutputNames, FollowTheSourceNameAndTheFilterOption)
{
    JobOptions options;
    EXPECT_EQ(OutputPathFor("/p/a.b.c.jpeg", "/out/", options), "/out/a.b.c.jpg");
    EXPECT_EQ(OutputPathFor("/p/photo.PNG", "/out/", options), "/out/photo.jpg");
    options.addFilterName = true;
    EXPECT_EQ(OutputPathFor("/p/photo.PNG", "/out/", options), "/out/photo B-Spline.jpg");
    options.filterIndex = 4;
    EXPECT_EQ(OutputPathFor("/p/photo.gif", "/out/", options), "/out/photo Lanczos3.jpg");
}

TEST_F(ImageJob, WritesAJpegOfTheRuleSize)
{
    WriteBytes(Path("photo.bmp"), BmpBytes(RandomRaster(40, 30, 1)));
    const JobResult result = Run("photo.bmp");
    EXPECT_EQ(result.SavedPath, Output() + "photo.jpg");
    EXPECT_TRUE(result.ContinueBatch);
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.previewWidth, 40);
    const Raster written = LoadPicture(result.SavedPath);
    EXPECT_EQ(written.Width(), 20);
    EXPECT_EQ(written.Height(), 15);
}

TEST_F(ImageJob, LogsAPictureItCannotOpenAndKeepsThePreview)
{
    WriteBytes(Path("broken.png"), {0x89, 'P', 'N', 'G'});
    const JobResult result = Run("broken.png");
    EXPECT_TRUE(result.SavedPath.empty());
    EXPECT_TRUE(result.ContinueBatch);
    EXPECT_EQ(host.log, std::vector<std::string>{"ERROR! Cannot open picture: " + Path("broken.png")});
    EXPECT_EQ(host.previewWidth, 0);
    EXPECT_FALSE(std::filesystem::exists(Output() + "broken.jpg"));
}

// A JPEG is resampled while it decodes; the file must be the one of decoding first.
TEST_F(ImageJob, WritesAJpegSourceAsIfItHadDecodedItFirst)
{
    WriteJpegFile(RandomRaster(203, 157, 2), 90, Path("photo.jpg"));
    const Raster picture = LoadPicture(Path("photo.jpg"));
    for (const double factor : {2.0, 2.5}) {
        host.options.size.rule = factor == 2.0 ? ResizeRule::Decrease : ResizeRule::Increase;
        host.options.size.round = static_cast<int>(factor);
        host.options.size.zecimal = factor == 2.0 ? 0 : 5;
        const JobResult result = Run("photo.jpg");
        ASSERT_EQ(result.SavedPath, Output() + "photo.jpg");
        const Raster written = LoadPicture(result.SavedPath);
        Raster expected(written.Width(), written.Height());
        const FilterEntry& filter = FilterTable[kDefaultFilterIndex];
        ResampleRaster(picture, expected, filter.WeightFunc, filter.Support);
        WriteJpegFile(expected, host.options.quality, Path("expected.jpg"));
        EXPECT_EQ(test::ReadBytes(result.SavedPath), test::ReadBytes(Path("expected.jpg"))) << factor;
    }
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.previewWidth, 203);
}

// Left at its own size by never-enlarge, a picture is encoded as it decoded: a JPEG too,
// which the job would otherwise resample while decoding it.
TEST_F(ImageJob, ANeverEnlargedPictureKeepsItsOwnPixels)
{
    WriteJpegFile(RandomRaster(60, 40, 4), 90, Path("small.jpg"));
    WriteBytes(Path("small.bmp"), BmpBytes(RandomRaster(60, 40, 5)));
    host.options.size.rule = ResizeRule::FitBox;
    host.options.size.noEnlarge = true;
    for (const char* name : {"small.jpg", "small.bmp"}) {
        const JobResult result = Run(name);
        ASSERT_FALSE(result.SavedPath.empty()) << name;
        WriteJpegFile(LoadPicture(Path(name)), host.options.quality, Path("expected.jpg"));
        EXPECT_EQ(test::ReadBytes(result.SavedPath), test::ReadBytes(Path("expected.jpg"))) << name;
        std::filesystem::remove(result.SavedPath);
    }
    EXPECT_TRUE(host.log.empty());
}

struct FormatCase {
    const char* name;
    OutputFormat format;
    bool lossless;
};

class OutputFormatTest : public ImageJob, public ::testing::WithParamInterface<FormatCase> {};

// Every format takes the resampled raster the JPEG path would encode: the lossless ones give
// it back exactly, with the photo information beside it.
TEST_P(OutputFormatTest, WritesTheResampledPictureInTheFormat)
{
    const Raster source = RandomRaster(40, 30, 7);
    PictureMetadata phone;
    phone.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    WriteJpegFile(source, 95, Path("photo.jpg"), &phone);
    host.options.format = GetParam().format;
    host.options.lossless = GetParam().lossless;
    const JobResult result = Run("photo.jpg");
    ASSERT_EQ(result.SavedPath, Output() + "photo." + std::string(FileExtension(GetParam().format)));
    PictureMetadata metadata;
    const Raster written = LoadPicture(result.SavedPath, &metadata);
    ASSERT_EQ(written.Width(), 20);
    ASSERT_EQ(written.Height(), 15);
    EXPECT_FALSE(metadata.exif.empty());
    if (!IsLossless({GetParam().format, 74, GetParam().lossless, false, false})) return;
    Raster expected(20, 15);
    const FilterEntry& filter = FilterTable[kDefaultFilterIndex];
    ResampleRaster(LoadPicture(Path("photo.jpg")), expected, filter.WeightFunc, filter.Support);
    EXPECT_EQ(test::Bytes(written), test::Bytes(expected));
}

INSTANTIATE_TEST_SUITE_P(Formats, OutputFormatTest,
                         ::testing::Values(FormatCase{"Png", OutputFormat::Png, false},
                                           FormatCase{"WebpLossless", OutputFormat::Webp, true},
                                           FormatCase{"JpegXlLossless", OutputFormat::Jxl, true},
                                           FormatCase{"Webp", OutputFormat::Webp, false},
                                           FormatCase{"Avif", OutputFormat::Avif, false},
                                           FormatCase{"JpegXl", OutputFormat::Jxl, false}),
                         test::CaseName);

TEST_F(ImageJob, AFileThatCannotBeKeptUnderItsLimitIsSavedAtTheLowestQualityAndSaysSo)
{
    WriteBytes(Path("noise.bmp"), BmpBytes(RandomRaster(200, 200, 8)));
    host.options.size.rule = ResizeRule::Percent;
    host.options.size.percent = 100;
    host.options.maxSizeKB = 1;
    const JobResult result = Run("noise.bmp");
    ASSERT_EQ(result.SavedPath, Output() + "noise.jpg");
    const auto size = std::filesystem::file_size(result.SavedPath);
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0], "WARNING! File not kept under 1 KB: saved at quality 5 as " +
                               std::to_string((size + 1023) / 1024) + " KB: " + result.SavedPath);
    // A limit it can keep: no line, and the file within it.
    host.log.clear();
    host.options.maxSizeKB = 40;
    ASSERT_FALSE(Run("noise.bmp").SavedPath.empty());
    EXPECT_TRUE(host.log.empty());
    EXPECT_LE(std::filesystem::file_size(result.SavedPath), 40u * 1024);
}

// Grey, one block wide and kBlocks high with a restart marker after every block; the markers
// after the first 40 blocks are all renumbered alike, so that the decoder gives up (past
// kMaxJpegWarnings) only after 320 rows have come out and been resampled.
std::vector<std::uint8_t> FailingAfterItsFirstRows()
{
    constexpr int kBlocks = 2000;
    static_assert(kBlocks - 40 > kMaxJpegWarnings);
    std::vector<std::uint8_t> bytes = test::JpegFixture{.width = 8,
                                                        .height = 8 * kBlocks,
                                                        .colourSpace = JCS_GRAYSCALE,
                                                        .components = 1,
                                                        .samples = test::FileBytes(64 * kBlocks, 90),
                                                        .restartInterval = 1}
                                          .Bytes();
    int markers = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] >= 0xD0 && bytes[i + 1] <= 0xD7 && ++markers > 40)
            bytes[i + 1] = 0xD4;
    return bytes;
}

TEST_F(ImageJob, LogsAJpegThatFailsPartWayAndWritesNothing)
{
    WriteBytes(Path("damaged.jpg"), FailingAfterItsFirstRows());
    const JobResult result = Run("damaged.jpg");
    EXPECT_TRUE(result.SavedPath.empty());
    EXPECT_TRUE(result.ContinueBatch);
    EXPECT_EQ(host.log, std::vector<std::string>{"ERROR! Cannot open picture: " + Path("damaged.jpg")});
    EXPECT_EQ(host.previewWidth, 0);
    EXPECT_FALSE(std::filesystem::exists(Output() + "damaged.jpg"));
}

TEST_F(ImageJob, RefusesAFactorOfOneAndEndsTheBatch)
{
    WriteBytes(Path("photo.bmp"), BmpBytes(RandomRaster(4, 4, 1)));
    host.options.size.round = 1;
    host.options.size.zecimal = 0;
    const JobResult result = Run("photo.bmp");
    EXPECT_FALSE(result.ContinueBatch);
    EXPECT_EQ(host.errors, std::vector<std::string>{
                               "Invalid \"x\" factor! (1)\r\nPlease choose a resize factor higher than 1."});
    EXPECT_EQ(host.focusRequests, 1);
    EXPECT_EQ(host.previewWidth, 4);  // the picture is in the preview when the box shows
    EXPECT_TRUE(host.log.empty());
}

TEST_F(ImageJob, ProtectsAgainstPicturesHugeOnBothSides)
{
    WriteBytes(Path("wide.bmp"), test::EmptyRleBmpBytes(10001, 2));
    host.options.size.rule = ResizeRule::SameSize;
    host.options.size.width = 10;
    host.options.size.height = 10;
    EXPECT_FALSE(Run("wide.bmp").SavedPath.empty());  // one side only: processed
#if !defined(__SANITIZE_ADDRESS__)
    WriteBytes(Path("huge.bmp"), test::EmptyRleBmpBytes(10001, 10001));
    EXPECT_TRUE(Run("huge.bmp").SavedPath.empty());
    EXPECT_EQ(host.log.back(), "WARNING! Huge image: " + Path("huge.bmp"));
#endif
}

TEST_F(ImageJob, RefusesOutputSizesItCannotProduce)
{
    WriteBytes(Path("photo.bmp"), BmpBytes(RandomRaster(3, 1, 1)));
    host.options.size.rule = ResizeRule::SameWidth;
    host.options.size.wh = 0;
    EXPECT_TRUE(Run("photo.bmp").SavedPath.empty());
    host.options.size.rule = ResizeRule::SameHeight;
    host.options.size.wh = 1 << 20;  // 3 x 2^40 pixels
    EXPECT_TRUE(Run("photo.bmp").SavedPath.empty());
    ASSERT_EQ(host.log.size(), 2u);
    for (const std::string& line : host.log) EXPECT_EQ(line.rfind("WARNING! ", 0), 0u) << line;
    EXPECT_TRUE(std::filesystem::is_empty(Output()));
}

TEST_F(ImageJob, SourcesSharingAnOutputNameFollowTheOverwriteRule)
{
    host.options.overwrite = false;
    WriteBytes(Path("holiday.bmp"), BmpBytes(RandomRaster(8, 8, 2)));
    WriteBytes(Path("holiday.BMP"), BmpBytes(RandomRaster(6, 6, 3)));
    EXPECT_FALSE(Run("holiday.bmp").SavedPath.empty());
    EXPECT_TRUE(Run("holiday.BMP").SavedPath.empty());
    EXPECT_EQ(host.log.back(), "WARNING! File already exists (not overwritten): " + Output() + "holiday.jpg");
    EXPECT_EQ(LoadPicture(Output() + "holiday.jpg").Width(), 4);  // the first one stays

    host.options.overwrite = true;
    EXPECT_FALSE(Run("holiday.BMP").SavedPath.empty());
    EXPECT_EQ(LoadPicture(Output() + "holiday.jpg").Width(), 3);  // the last one wins
}

TEST_F(ImageJob, NeverWritesOverItsOwnSource)
{
    WriteBytes(Path("photo.bmp"), BmpBytes(RandomRaster(8, 8, 2)));
    ASSERT_FALSE(Run("photo.bmp").SavedPath.empty());
    const std::string source = Output() + "photo.jpg";
    const auto before = std::filesystem::file_size(source);
    EXPECT_TRUE(ProcessImage(source, Output(), host.options, host).SavedPath.empty());
    EXPECT_EQ(host.log.back().rfind("WARNING! ", 0), 0u);
    EXPECT_EQ(std::filesystem::file_size(source), before);
}

TEST_F(ImageJob, ReportsAFailedSaveAndLeavesNothing)
{
    WriteBytes(Path("photo.bmp"), BmpBytes(RandomRaster(8, 8, 2)));
    const std::string missing = Folder() + "missing/";
    const JobResult result = ProcessImage(Path("photo.bmp"), missing, host.options, host);
    EXPECT_TRUE(result.SavedPath.empty());
    EXPECT_TRUE(result.ContinueBatch);
    EXPECT_EQ(host.errors, std::vector<std::string>{"Cannot save file as: " + missing + "photo.jpg"});
    EXPECT_EQ(host.log, std::vector<std::string>{"Cannot save file as: " + missing + "photo.jpg"});
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(ImageJob, BatchLogsEachFileAndStopsOnAbort)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        WriteBytes(Path(name), BmpBytes(RandomRaster(4, 4, 9)));
    host.abortAfterVisiting = "b.bmp";
    const BatchSummary summary = RunBatch({"a.bmp", "b.bmp", "c.bmp"}, host);
    EXPECT_TRUE(summary.aborted);
    EXPECT_EQ(summary.saved, 1);
    ASSERT_EQ(host.log.size(), 7u);
    EXPECT_EQ(host.log[0], "");
    EXPECT_NE(host.log[3].find(" NEW BATCH JOB STARTED"), std::string::npos);
    EXPECT_EQ(host.log[4], "");
    EXPECT_EQ(host.log[5], "File resized and saved as: " + Output() + "a.jpg");
    EXPECT_EQ(host.log[6], "Process aborted.");
}

TEST_F(ImageJob, BatchEndsAfterARefusedFactor)
{
    for (const char* name : {"a.bmp", "b.bmp"}) WriteBytes(Path(name), BmpBytes(RandomRaster(4, 4, 9)));
    host.options.size.round = 1;
    const BatchSummary summary = RunBatch({"a.bmp", "b.bmp"}, host);
    EXPECT_TRUE(summary.factorRefused);
    EXPECT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.visited, std::vector<std::string>{"a.bmp"});
    EXPECT_EQ(host.log.size(), 5u);  // the header only
}

TEST(BatchTexts, CutTheTimeToTwoDecimals)
{
    EXPECT_EQ(JobDoneText(JobKind::Batch, 3456), "Batch job done in 3.45 sec");
    EXPECT_EQ(JobDoneText(JobKind::Batch, 2000), "Batch job done in 2 sec");
    EXPECT_EQ(JobDoneText(JobKind::SingleImage, 50), "Job done in 0.05 sec");
    EXPECT_NE(JobHeaderLines(JobKind::SingleImage, 0)[3].find(" RESIZING SINGLE IMAGE"), std::string::npos);
}

}  // namespace
}  // namespace selvane

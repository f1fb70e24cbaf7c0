#include "engine/codec/SizeLimitedEncode.h"
#include "engine/codec/PictureEncoder.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace selvane {
namespace {

// Noise over a ramp: detail enough that every quality step changes the size.
Raster Detailed()
{
    Raster raster = test::RandomRaster(40, 30, 11);
    for (int y = 0; y < raster.Height(); ++y)
        for (std::size_t x = 0; x < raster.Stride(); ++x)
            raster.Row(y)[x] = static_cast<std::uint8_t>(raster.Row(y)[x] / 4 + 4 * x / 3);
    return raster;
}

struct FormatCase {
    const char* name;
    OutputFormat format;
    bool steady;  // whether this fixture's size never falls as the quality rises
};

class SizeLimitedEncodeTest : public test::TemporaryFolderTest,
                              public ::testing::WithParamInterface<FormatCase> {};

// Limits at a spread of the sizes met, one byte below each, and the extremes. Where the size
// grows steadily with the quality, the search must pick what a scan of every quality from the
// top picks; everywhere, the quality picked fits (unless it is the lowest) and the next one
// up does not.
TEST_P(SizeLimitedEncodeTest, PicksTheHighestQualityThatFitsAsAFullScanWould)
{
    const Raster source = Detailed();
    const EncodeSettings settings{.format = GetParam().format, .quality = 60};
    std::map<int, EncodedPicture> encodings;
    for (int quality = kMinQuality; quality <= settings.quality; ++quality) {
        EncodeSettings trial = settings;
        trial.quality = quality;
        encodings[quality] = EncodePicture(source, trial, nullptr);
    }
    bool steady = true;
    for (int quality = kMinQuality; quality < settings.quality; ++quality)
        steady = steady && encodings[quality].size() <= encodings[quality + 1].size();
    ASSERT_EQ(steady, GetParam().steady) << "the fixture no longer shows what this row is for";

    std::vector<std::size_t> limits{0, encodings[settings.quality].size() + 1000};
    for (const int quality : {5, 6, 9, 17, 23, 31, 42, 50, 59, 60})
        limits.insert(limits.end(), {encodings[quality].size(), encodings[quality].size() - 1});
    for (const std::size_t limit : limits) {
        SCOPED_TRACE(limit);
        int highestFitting = kMinQuality;
        for (int quality = settings.quality; quality > kMinQuality; --quality)
            if (encodings[quality].size() <= limit) {
                highestFitting = quality;
                break;
            }
        const LimitedEncode result = WritePictureFileWithin(source, settings, limit, Path("out"), nullptr);
        const EncodedPicture& chosen = encodings[result.quality];
        if (GetParam().steady) {
            EXPECT_EQ(result.quality, highestFitting);
        }
        EXPECT_EQ(result.fits, chosen.size() <= limit);
        EXPECT_TRUE(result.fits || result.quality == kMinQuality);
        if (result.quality < settings.quality) {
            EXPECT_GT(encodings[result.quality + 1].size(), limit);
        }
        EXPECT_EQ(result.bytes, chosen.size());
        EXPECT_EQ(test::ReadBytes(Path("out")), chosen);
    }
}

// WebP, AVIF and JPEG XL sizes wobble by a few bytes from one quality to the next on so
// small a picture.
INSTANTIATE_TEST_SUITE_P(Formats, SizeLimitedEncodeTest,
                         ::testing::Values(FormatCase{"Jpeg", OutputFormat::Jpeg, true},
                                           FormatCase{"Webp", OutputFormat::Webp, false},
                                           FormatCase{"Avif", OutputFormat::Avif, false},
                                           FormatCase{"Jxl", OutputFormat::Jxl, false}),
                         test::CaseName);

class SizeLimitTest : public test::TemporaryFolderTest {};

TEST_F(SizeLimitTest, TooSmallALimitWritesQualityFiveAndSaysItDoesNotFit)
{
    const LimitedEncode result =
        WritePictureFileWithin(Detailed(), {.quality = 60}, 100, Path("out.jpg"), nullptr);
    EXPECT_EQ(result.quality, kMinQuality);
    EXPECT_FALSE(result.fits);
    EXPECT_EQ(test::ReadBytes(Path("out.jpg")), EncodePicture(Detailed(), {.quality = kMinQuality}, nullptr));
    EXPECT_EQ(result.bytes, std::filesystem::file_size(Path("out.jpg")));
}

// Lossless settings have nothing to lower: one encoding, written whatever the limit.
TEST_F(SizeLimitTest, LosslessIsWrittenOnceAndReportsWhetherItFits)
{
    for (const EncodeSettings settings :
         {EncodeSettings{.format = OutputFormat::Png, .quality = 60},
          EncodeSettings{.format = OutputFormat::Webp, .quality = 60, .lossless = true},
          EncodeSettings{.format = OutputFormat::Jxl, .quality = 60, .lossless = true}}) {
        SCOPED_TRACE(FileExtension(settings.format));
        const EncodedPicture lossless = EncodePicture(Detailed(), settings, nullptr);
        for (const std::size_t limit : {lossless.size() - 1, lossless.size()}) {
            const LimitedEncode result =
                WritePictureFileWithin(Detailed(), settings, limit, Path("out"), nullptr);
            EXPECT_EQ(result.quality, 60);
            EXPECT_EQ(result.bytes, lossless.size());
            EXPECT_EQ(result.fits, limit == lossless.size());
            EXPECT_EQ(test::ReadBytes(Path("out")), lossless);
        }
    }
}

TEST_F(SizeLimitTest, WriteIntoAMissingFolderThrowsAndLeavesNothing)
{
    EXPECT_THROW(WritePictureFileWithin(Detailed(), {}, 500, Path("missing/out.jpg"), nullptr),
                 std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_empty(root_));
}

}  // namespace
}  // namespace selvane

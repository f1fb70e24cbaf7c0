// The image job with photos as cameras and phones make them: turned upright before the
// size rule, the colour profile and the photo information carried to the output, and the
// switches that bring back pictures resized as stored without either.
#include "engine/codec/JpegEncoder.h"
#include "engine/codec/PictureLoader.h"
#include "engine/job/ImageJob.h"
#include "PhotoFixtures.h"
#include "PictureFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdlib>
#include <filesystem>

namespace selvane {
namespace {

class PhotoHost : public JobHost {
public:
    void AppendLog(const std::string& line) override { log.push_back(line); }
    void ShowError(const std::string& text) override { log.push_back("box: " + text); }
    void PictureLoaded(const Raster& picture, bool) override
    {
        previewWidth = picture.Width();
        previewHeight = picture.Height();
    }
    void FocusFactorField() override {}

    std::vector<std::string> log;
    int previewWidth = 0, previewHeight = 0;
};

// Four quarters of four colours (blue, green, red): red top left, green top right, blue
// bottom left, white bottom right, as the sensor stored them.
Raster Quarters(int width, int height)
{
    Raster raster(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, bottom = y >= height / 2;
            const std::uint8_t red = !bottom && !right ? 255 : bottom && right ? 255 : 0;
            const std::uint8_t green = (!bottom && right) || (bottom && right) ? 255 : 0;
            const std::uint8_t blue = bottom ? 255 : 0;
            std::uint8_t* pixel = raster.Row(y) + 3 * x;
            pixel[0] = blue, pixel[1] = green, pixel[2] = red;
        }
    return raster;
}

enum class Colour { Red, Green, Blue, White };

Colour ColourAt(const Raster& raster, int x, int y)
{
    const std::uint8_t* pixel = raster.Row(y) + 3 * x;
    const bool blue = pixel[0] > 128, green = pixel[1] > 128, red = pixel[2] > 128;
    if (red && green && blue) return Colour::White;
    if (blue) return Colour::Blue;
    return green ? Colour::Green : Colour::Red;
}

class PhotoJob : public test::TemporaryFolderTest {
protected:
    void SetUp() override { std::filesystem::create_directory(Output()); }
    std::string Output() const { return Folder() + "Output/"; }
    JobResult Run(const std::string& name, const std::string& output = "")
    {
        return ProcessImage(Path(name), output.empty() ? Output() : output, options, host);
    }
    // A phone's picture: 40 x 30 as stored, to be turned a quarter clockwise.
    void WritePhonePicture(const std::string& name, const test::Bytes& exif)
    {
        PictureMetadata metadata;
        metadata.exif = exif;
        WriteJpegFile(Quarters(40, 30), 95, Path(name), &metadata);
    }
    PictureMetadata OutputMetadata(const std::string& name)
    {
        PictureMetadata metadata;
        LoadPicture(Output() + name, &metadata);
        return metadata;
    }

    JobOptions options;
    PhotoHost host;
};

struct RuleCase {
    const char* name;
    ResizeRule rule;
    int factor10;  // the factor in tenths, for decrease and increase
    int side;      // the side for same width or same height
    int width, height;
};

class PhotoRuleTest : public PhotoJob, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(PhotoRuleTest, SizesTheUprightPicture)
{
    const RuleCase& test = GetParam();
    WritePhonePicture("phone.jpg", test::ExifBlock({{"Exif.Image.Orientation", "6"}}));
    options.size.rule = test.rule;
    options.size.round = test.factor10 / 10;
    options.size.zecimal = test.factor10 % 10;
    options.size.wh = test.side;
    options.preview = true;
    ASSERT_FALSE(Run("phone.jpg").SavedPath.empty()) << testing::PrintToString(host.log);
    EXPECT_TRUE(host.log.empty()) << host.log.front();
    EXPECT_EQ(host.previewWidth, 30);
    EXPECT_EQ(host.previewHeight, 40);
    const Raster written = LoadPicture(Output() + "phone.jpg");
    ASSERT_EQ(written.Width(), test.width);
    ASSERT_EQ(written.Height(), test.height);
    // Turned clockwise: what was stored at the bottom left now stands at the top left.
    const int right = written.Width() - 2, bottom = written.Height() - 2;
    EXPECT_EQ(ColourAt(written, 1, 1), Colour::Blue);
    EXPECT_EQ(ColourAt(written, right, 1), Colour::Red);
    EXPECT_EQ(ColourAt(written, 1, bottom), Colour::White);
    EXPECT_EQ(ColourAt(written, right, bottom), Colour::Green);
}

INSTANTIATE_TEST_SUITE_P(Rules, PhotoRuleTest,
                         ::testing::Values(RuleCase{"Decrease", ResizeRule::Decrease, 20, 0, 15, 20},
                                           RuleCase{"Increase", ResizeRule::Increase, 15, 0, 45, 60},
                                           RuleCase{"SameWidth", ResizeRule::SameWidth, 20, 15, 15, 20},
                                           RuleCase{"SameHeight", ResizeRule::SameHeight, 20, 20, 15, 20}),
                         test::CaseName);

TEST_F(PhotoJob, UncheckedTheRotationResizesAsStoredAndKeepsTheOrientationForViewers)
{
    WritePhonePicture("phone.jpg", test::ExifBlock({{"Exif.Image.Orientation", "6"}}));
    options.autoOrient = false;
    options.size.rule = ResizeRule::SameWidth;
    options.size.wh = 20;
    ASSERT_FALSE(Run("phone.jpg").SavedPath.empty());
    const Raster written = LoadPicture(Output() + "phone.jpg");
    EXPECT_EQ(written.Width(), 20);
    EXPECT_EQ(written.Height(), 15);
    EXPECT_EQ(ColourAt(written, 1, 1), Colour::Red);
    EXPECT_EQ(test::Tag(test::ReadExif(OutputMetadata("phone.jpg").exif), "Exif.Image.Orientation"), "6");
}

// A 1-pixel thumbnail, enough for exiv2 to store one.
test::Bytes Thumbnail()
{
    const std::string path = std::filesystem::temp_directory_path() / "selvane-thumbnail.jpg";
    WriteJpegFile(Raster(1, 1), 50, path);
    test::Bytes bytes = test::ReadBytes(path);
    std::filesystem::remove(path);
    return bytes;
}

struct InfoCase {
    const char* name;
    bool keep, stripGps;
    const char* latitude;  // in the output's EXIF
    const char* date;
};

class PhotoInfoTest : public PhotoJob, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(PhotoInfoTest, TravelsToTheOutputAsAsked)
{
    const InfoCase& test = GetParam();
    PictureMetadata source;
    source.exif = test::ExifBlock({{"Exif.Image.Orientation", "6"},
                                   {"Exif.Image.Make", "Selvane Camera"},
                                   {"Exif.Photo.DateTimeOriginal", "2026:06:01 10:20:30"},
                                   {"Exif.Photo.PixelXDimension", "40"},
                                   {"Exif.Photo.PixelYDimension", "30"},
                                   {"Exif.GPSInfo.GPSLatitudeRef", "N"},
                                   {"Exif.GPSInfo.GPSLatitude", "51/1 30/1 0/1"}},
                                  Thumbnail());
    source.xmp = test::XmpPacket(
        {{"Xmp.tiff.Orientation", "6"}, {"Xmp.exif.GPSLatitude", "51,30.0N"}, {"Xmp.dc.title", "Harbour"}});
    WriteJpegFile(Quarters(40, 30), 95, Path("phone.jpg"), &source);
    options.keepMetadata = test.keep;
    options.stripGps = test.stripGps;
    ASSERT_FALSE(Run("phone.jpg").SavedPath.empty());
    EXPECT_TRUE(host.log.empty()) << host.log.front();

    const PictureMetadata output = OutputMetadata("phone.jpg");
    const Exiv2::ExifData exif = test::ReadExif(output.exif);
    EXPECT_EQ(test::Tag(exif, "Exif.GPSInfo.GPSLatitude"), test.latitude);
    EXPECT_EQ(test::Tag(exif, "Exif.Photo.DateTimeOriginal"), test.date);
    EXPECT_EQ(output.xmp.empty(), !test.keep);
    if (!test.keep) return;
    EXPECT_EQ(test::Tag(exif, "Exif.Image.Make"), "Selvane Camera");
    EXPECT_EQ(test::Tag(exif, "Exif.Image.Orientation"), "1");
    EXPECT_EQ(test::Tag(exif, "Exif.Photo.PixelXDimension"), "15");
    EXPECT_EQ(test::Tag(exif, "Exif.Photo.PixelYDimension"), "20");
    EXPECT_EQ(test::Tag(exif, "Exif.Thumbnail.JPEGInterchangeFormat"), "(none)");
    EXPECT_EQ(test::Property(output.xmp, "Xmp.tiff.Orientation"), "1");
    EXPECT_EQ(test::Property(output.xmp, "Xmp.dc.title"), "lang=\"x-default\" Harbour");
    EXPECT_EQ(test::Property(output.xmp, "Xmp.exif.GPSLatitude"), test.stripGps ? "(none)" : "51,30.0N");
}

INSTANTIATE_TEST_SUITE_P(
    Switches, PhotoInfoTest,
    ::testing::Values(InfoCase{"Kept", true, false, "51/1 30/1 0/1", "2026:06:01 10:20:30"},
                      InfoCase{"KeptWithoutLocation", true, true, "(none)", "2026:06:01 10:20:30"},
                      InfoCase{"Stripped", false, false, "(none)", "(none)"}),
    test::CaseName);

struct DamagedCase {
    const char* name;
    test::Bytes (*exif)();
    bool png;  // in a PNG's eXIf chunk, which may be larger than a JPEG segment
};

class DamagedPhotoInfoTest : public PhotoJob, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedPhotoInfoTest, WarnsOnceAndWritesThePictureWithoutIt)
{
    if (GetParam().png) {
        const test::PngFixture png{.width = 40,
                                   .height = 30,
                                   .scanlines = test::FileBytes(30 * (1 + 40 * 3), 0),
                                   .exif = GetParam().exif()};
        test::WriteBytes(Path("phone.png"), png.Bytes());
    } else {
        WritePhonePicture("phone.jpg", GetParam().exif());
    }
    const std::string name = GetParam().png ? "phone.png" : "phone.jpg";
    for (const bool rotate : {true, false}) {
        host.log.clear();
        options.autoOrient = rotate;
        ASSERT_FALSE(Run(name).SavedPath.empty());
        EXPECT_EQ(host.log,
                  std::vector<std::string>{"WARNING! Photo information could not be read: " + Path(name)});
        EXPECT_TRUE(OutputMetadata("phone.jpg").exif.empty());
        EXPECT_EQ(LoadPicture(Output() + "phone.jpg").Width(), 20);  // as stored: nothing to turn it by
    }
}

// Tags of text, each under exiv2's size cuts, that together outgrow a JPEG segment.
test::Bytes TooLargeForAJpeg()
{
    const std::string text(4000, 'x');
    std::vector<std::pair<std::string, std::string>> tags;
    for (const char* key :
         {"Exif.Image.ImageDescription", "Exif.Image.Make", "Exif.Image.Model", "Exif.Image.Software",
          "Exif.Image.Artist", "Exif.Image.HostComputer", "Exif.Image.Copyright", "Exif.Photo.ImageUniqueID",
          "Exif.Photo.CameraOwnerName", "Exif.Photo.BodySerialNumber", "Exif.Photo.LensMake",
          "Exif.Photo.LensModel", "Exif.Photo.LensSerialNumber", "Exif.Image.DocumentName",
          "Exif.Image.PageName", "Exif.Image.TargetPrinter", "Exif.Image.InkNames", "Exif.Image.ImageID"})
        tags.emplace_back(key, text);
    return test::ExifBlock(tags);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, DamagedPhotoInfoTest,
    ::testing::Values(DamagedCase{"Garbage", [] { return test::Bytes(300, 0xa5); }, false},
                      DamagedCase{"FirstDirectoryOutside",
                                  [] { return test::Bytes{'I', 'I', 42, 0, 0xf0, 0xff, 0xff, 0x7f, 0, 0}; },
                                  false},
                      DamagedCase{"TooLargeForTheOutput", TooLargeForAJpeg, true}),
    test::CaseName);

TEST_F(PhotoJob, CarriesTheColourProfileByteForByteOrConvertsToSrgb)
{
    // Lossless PNG and JPEG sources of one Adobe RGB colour.
    const test::Bytes adobe = test::AdobeRgbProfile();
    PictureMetadata source;
    source.icc = adobe;
    Raster patch(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            std::uint8_t* pixel = patch.Row(y) + 3 * x;
            pixel[0] = 30, pixel[1] = 50, pixel[2] = 200;
        }
    WriteJpegFile(patch, 95, Path("adobe.jpg"), &source);
    WriteJpegFile(patch, 95, Path("plain.jpg"));
    options.size.rule = ResizeRule::SameWidth;
    options.size.wh = 8;
    ASSERT_FALSE(Run("adobe.jpg").SavedPath.empty());
    ASSERT_FALSE(Run("plain.jpg").SavedPath.empty());
    EXPECT_EQ(OutputMetadata("adobe.jpg").icc, adobe);
    EXPECT_EQ(LoadPicture(Output() + "adobe.jpg").Row(4)[12], LoadPicture(Output() + "plain.jpg").Row(4)[12]);

    options.toSrgb = true;
    ASSERT_FALSE(Run("adobe.jpg").SavedPath.empty());
    EXPECT_TRUE(OutputMetadata("adobe.jpg").icc.empty());
    const Raster converted = LoadPicture(Output() + "adobe.jpg");
    // transicc gives 232.2, 46.4, 22.4 for this colour; the JPEG round trips add a little.
    EXPECT_NEAR(converted.Row(4)[14], 232, 3);
    EXPECT_NEAR(converted.Row(4)[13], 46, 3);
    EXPECT_NEAR(converted.Row(4)[12], 22, 3);
}

// A scan's turn is TIFF's own Orientation tag, and its profile is a tag too.
TEST_F(PhotoJob, ATiffIsTurnedByItsOwnTagAndKeepsItsProfile)
{
    const Raster stored = Quarters(40, 30);
    TIFF* tiff = TIFFOpen(Path("scan.tif").c_str(), "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 40);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 30);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_RIGHTTOP);
    const test::Bytes adobe = test::AdobeRgbProfile();
    TIFFSetField(tiff, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(adobe.size()), adobe.data());
    for (int y = 0; y < 30; ++y) {
        std::uint8_t row[40 * 3];
        for (int x = 0; x < 40; ++x)
            for (int c = 0; c < 3; ++c) row[3 * x + c] = stored.Row(y)[3 * x + 2 - c];
        ASSERT_EQ(TIFFWriteScanline(tiff, row, static_cast<std::uint32_t>(y), 0), 1);
    }
    TIFFClose(tiff);

    options.size.rule = ResizeRule::SameWidth;
    options.size.wh = 15;
    ASSERT_FALSE(Run("scan.tif").SavedPath.empty()) << testing::PrintToString(host.log);
    Raster written = LoadPicture(Output() + "scan.jpg");
    EXPECT_EQ(written.Height(), 20);
    EXPECT_EQ(ColourAt(written, 1, 1), Colour::Blue);
    EXPECT_EQ(OutputMetadata("scan.jpg").icc, adobe);

    options.autoOrient = false;
    ASSERT_FALSE(Run("scan.tif").SavedPath.empty());
    written = LoadPicture(Output() + "scan.jpg");
    EXPECT_EQ(written.Height(), 11);
    EXPECT_EQ(ColourAt(written, 1, 1), Colour::Red);
}

TEST_F(PhotoJob, SwitchedOffGivesTheFileOfAPictureWithoutPhotoInformation)
{
    PictureMetadata phone;
    phone.exif = test::ExifBlock({{"Exif.Image.Orientation", "6"}, {"Exif.Image.Make", "Selvane Camera"}});
    phone.xmp = test::XmpPacket({{"Xmp.tiff.Orientation", "6"}});
    WriteJpegFile(Quarters(40, 30), 95, Path("phone.jpg"), &phone);
    std::filesystem::create_directory(Path("plain"));
    WriteJpegFile(Quarters(40, 30), 95, Path("plain/phone.jpg"));
    options.autoOrient = false;
    options.keepMetadata = false;
    for (const int filter : {0, kDefaultFilterIndex}) {
        options.filterIndex = filter;
        ASSERT_FALSE(Run("phone.jpg").SavedPath.empty());
        std::filesystem::create_directory(Path("plain/Output"));
        ASSERT_FALSE(Run("plain/phone.jpg", Path("plain/Output/")).SavedPath.empty());
        EXPECT_EQ(test::ReadBytes(Output() + "phone.jpg"), test::ReadBytes(Path("plain/Output/phone.jpg")))
            << filter;
    }
    EXPECT_TRUE(host.log.empty());
}

}  // namespace
}  // namespace selvane

#include "engine/codec/Decoders.h"

#include "PictureFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace selvane {
namespace {

using test::FileBytes;
using test::JpegFixture;

Raster Decode(const JpegFixture& fixture)
{
    const FileBytes bytes = fixture.Bytes();
    return DecodeJpeg(bytes);
}

// Every pixel within `tolerance` of `blueGreenRed` (flat pictures come back nearly exact).
void ExpectFlat(const Raster& picture, const FileBytes& blueGreenRed, int tolerance)
{
    const FileBytes bytes = test::Bytes(picture);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        ASSERT_LE(std::abs(bytes[i] - blueGreenRed[i % 3]), tolerance)
            << "pixel " << i / 3 << " channel " << i % 3 << " is " << int{bytes[i]};
    }
}

TEST(JpegDecoderTest, ColourComesOutBlueGreenRed)
{
    const JpegFixture fixture{.width = 16, .height = 8, .samples = test::Repeated({240, 120, 10}, 16 * 8)};
    const Raster picture = Decode(fixture);
    EXPECT_EQ(picture.Width(), 16);
    EXPECT_EQ(picture.Height(), 8);
    ExpectFlat(picture, {10, 120, 240}, 2);
}

TEST(JpegDecoderTest, GreyIsRepeatedIntoTheThreeChannels)
{
    const JpegFixture fixture{.width = 9,
                              .height = 7,
                              .colourSpace = JCS_GRAYSCALE,
                              .components = 1,
                              .samples = FileBytes(9 * 7, 100)};
    ExpectFlat(Decode(fixture), {100, 100, 100}, 1);
}

struct CmykCase {
    const char* name;
    bool adobeMarker;
    FileBytes stored;  // the four samples as written in the file
    FileBytes blueGreenRed;
};

class JpegCmykTest : public ::testing::TestWithParam<CmykCase> {};

TEST_P(JpegCmykTest, InksBecomeBlueGreenRed)
{
    const CmykCase& test = GetParam();
    const JpegFixture fixture{.colourSpace = JCS_CMYK,
                              .components = 4,
                              .samples = test::Repeated(test.stored, 64),
                              .adobeMarker = test.adobeMarker};
    ExpectFlat(Decode(fixture), test.blueGreenRed, 2);
}

// Cyan 0, magenta half, yellow full and black about a fifth, both ways of storing them:
// red = 255 * 200/255, green = 128 * 200/255, blue = 0.
INSTANTIATE_TEST_SUITE_P(Cases, JpegCmykTest,
                         ::testing::Values(CmykCase{"AdobeInverted", true, {255, 128, 0, 200}, {0, 100, 200}},
                                           CmykCase{"PlainInks", false, {0, 127, 255, 55}, {0, 100, 200}},
                                           CmykCase{
                                               "AdobeWhite", true, {255, 255, 255, 255}, {255, 255, 255}},
                                           CmykCase{"AdobeFullBlack", true, {255, 255, 255, 0}, {0, 0, 0}}),
                         test::CaseName);

// A progressive scan script: the DC of every component, then one scan per AC coefficient
// of each component.
std::vector<jpeg_scan_info> ScanPerCoefficient(int components)
{
    std::vector<jpeg_scan_info> scans(1);
    scans[0].comps_in_scan = components;
    for (int c = 0; c < components; ++c) scans[0].component_index[c] = c;
    for (int c = 0; c < components; ++c) {
        for (int k = 1; k < 64; ++k) {
            jpeg_scan_info scan{};
            scan.comps_in_scan = 1;
            scan.component_index[0] = c;
            scan.Ss = scan.Se = k;
            scans.push_back(scan);
        }
    }
    return scans;
}

TEST(JpegDecoderTest, ProgressiveFileOfSixtyFourScansDecodes)
{
    const JpegFixture fixture{.colourSpace = JCS_GRAYSCALE,
                              .components = 1,
                              .samples = FileBytes(64, 50),
                              .scans = ScanPerCoefficient(1)};
    ExpectFlat(Decode(fixture), {50, 50, 50}, 1);
}

TEST(JpegDecoderTest, FileOfMoreThanAHundredScansIsRefused)
{
    const JpegFixture fixture{.samples = FileBytes(64 * 3, 50), .scans = ScanPerCoefficient(3)};
    EXPECT_THROW(Decode(fixture), DecodeError);
}

TEST(JpegDecoderTest, DamagedFilesAreRefusedWithTheLibraryMessage)
{
    const FileBytes good = JpegFixture{.samples = FileBytes(64 * 3, 50)}.Bytes();
    ASSERT_NO_THROW(DecodeJpeg(good));
    const std::vector<std::pair<FileBytes, std::string>> damaged = {
        {{}, "Empty input file"},
        {{0xFF, 0xD8}, "no image"},
        {{0x89, 'P', 'N', 'G'}, "Not a JPEG file"},
        {FileBytes(good.begin(), good.begin() + 100), ""},
    };
    for (const auto& [bytes, message] : damaged) {
        try {
            DecodeJpeg(bytes);
            ADD_FAILURE() << "decoded: " << message;
        } catch (const DecodeError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
}

TEST(JpegDecoderTest, MissingEndOfTheDataStillDecodes)
{
    FileBytes noise(64 * 64 * 3);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 + i / 7 * 13);
    const FileBytes good = JpegFixture{.width = 64, .height = 64, .samples = noise}.Bytes();
    const FileBytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() * 3 / 4));
    const Raster picture = DecodeJpeg(cut);
    EXPECT_EQ(picture.Width(), 64);
    EXPECT_EQ(picture.Height(), 64);
}

}  // namespace
}  // namespace selvane

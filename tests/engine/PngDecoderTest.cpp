#include "engine/codec/Decoders.h"

#include "PictureFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

using test::FileBytes;
using test::PngFixture;

FileBytes DecodedBytes(const PngFixture& fixture)
{
    const FileBytes bytes = fixture.Bytes();
    return test::Bytes(DecodePng(bytes));
}

struct ConversionCase {
    const char* name;
    std::uint8_t colourType;
    std::uint8_t bitDepth;
    std::uint32_t width;
    FileBytes row;  // after the filter byte
    FileBytes blueGreenRed;
    FileBytes palette = {};
    FileBytes transparency = {};
};

class PngConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(PngConversionTest, GivesEightBitBlueGreenRed)
{
    const ConversionCase& test = GetParam();
    PngFixture fixture;
    fixture.width = test.width;
    fixture.colourType = test.colourType;
    fixture.bitDepth = test.bitDepth;
    fixture.palette = test.palette;
    fixture.transparency = test.transparency;
    fixture.scanlines = {0};
    fixture.scanlines.insert(fixture.scanlines.end(), test.row.begin(), test.row.end());
    EXPECT_EQ(DecodedBytes(fixture), test.blueGreenRed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PngConversionTest,
    ::testing::Values(
        ConversionCase{
            "Grey1", 0, 1, 4, {0b10110000}, {255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255}},
        ConversionCase{"Grey2", 0, 2, 4, {0b00011011}, {0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}},
        ConversionCase{"Grey16KeepsHighByte", 0, 16, 1, {0x12, 0xAB}, {0x12, 0x12, 0x12}},
        // Transparency is skipped: the grey value 7 keeps its colour.
        ConversionCase{"GreyWithTransparentValue", 0, 8, 1, {7}, {7, 7, 7}, {}, {0, 7}},
        ConversionCase{"GreyAlphaNotComposited", 4, 8, 1, {100, 0}, {100, 100, 100}},
        ConversionCase{"GreyAlpha16", 4, 16, 1, {0xFF, 0x00, 0x00, 0x00}, {255, 255, 255}},
        ConversionCase{"Rgb8", 2, 8, 1, {10, 20, 30}, {30, 20, 10}},
        ConversionCase{
            "Rgb16KeepsHighBytes", 2, 16, 1, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, {0x9A, 0x56, 0x12}},
        ConversionCase{"RgbaNotComposited", 6, 8, 1, {10, 20, 30, 0}, {30, 20, 10}},
        ConversionCase{"Rgba16", 6, 16, 1, {1, 0, 2, 0, 3, 0, 0, 0}, {3, 2, 1}},
        ConversionCase{"PaletteIgnoresTransparency",
                       3,
                       8,
                       2,
                       {0, 1},
                       {0, 0, 255, 0, 255, 0},
                       {255, 0, 0, 0, 255, 0},
                       {0, 0}},
        ConversionCase{"Palette4Bits", 3, 4, 2, {0x10}, {0, 255, 0, 0, 0, 255}, {255, 0, 0, 0, 255, 0}},
        ConversionCase{"PaletteIndexBeyondTableIsBlack",
                       3,
                       8,
                       2,
                       {1, 200},
                       {0, 255, 0, 0, 0, 0},
                       {255, 0, 0, 0, 255, 0}}),
    test::CaseName);

// The rows of the seven Adam7 passes of an 8-bit picture with `channels` samples a pixel.
FileBytes Adam7Scanlines(const FileBytes& samples, std::uint32_t width, std::uint32_t height,
                         std::uint32_t channels)
{
    struct Pass {
        std::uint32_t x, y, dx, dy;
    };
    constexpr Pass kPasses[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    FileBytes scanlines;
    for (const Pass& pass : kPasses) {
        if (pass.x >= width) continue;
        for (std::uint32_t y = pass.y; y < height; y += pass.dy) {
            scanlines.push_back(0);
            for (std::uint32_t x = pass.x; x < width; x += pass.dx)
                for (std::uint32_t c = 0; c < channels; ++c)
                    scanlines.push_back(samples[(y * width + x) * channels + c]);
        }
    }
    return scanlines;
}

TEST(PngDecoderTest, InterlacedPicturePutsEveryPixelInPlace)
{
    constexpr std::uint32_t kWidth = 11, kHeight = 9;
    FileBytes samples;
    for (std::uint32_t i = 0; i < kWidth * kHeight * 3; ++i)
        samples.push_back(static_cast<std::uint8_t>(i * 7 + i / 3));
    PngFixture fixture;
    fixture.width = kWidth;
    fixture.height = kHeight;
    fixture.interlaced = true;
    fixture.scanlines = Adam7Scanlines(samples, kWidth, kHeight, 3);

    FileBytes expected;
    for (std::size_t i = 0; i < samples.size(); i += 3)
        expected.insert(expected.end(), {samples[i + 2], samples[i + 1], samples[i]});
    EXPECT_EQ(DecodedBytes(fixture), expected);
}

PngFixture TwoRowsOfRgb()
{
    PngFixture fixture;
    fixture.width = 2;
    fixture.height = 2;
    fixture.scanlines = {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12};
    return fixture;
}

TEST(PngDecoderTest, DamagedFilesAreRefused)
{
    const FileBytes good = TwoRowsOfRgb().Bytes();
    ASSERT_NO_THROW(DecodePng(good));

    FileBytes badCrc = good;
    badCrc[badCrc.size() - 12 - 1] ^= 0x01;  // the IDAT chunk's CRC, just before IEND
    PngFixture shortData = TwoRowsOfRgb();
    shortData.scanlines.resize(7);  // one row only
    PngFixture badFilter = TwoRowsOfRgb();
    badFilter.scanlines[7] = 9;
    const std::vector<std::pair<const char*, FileBytes>> damaged = {
        {"bad CRC", badCrc},
        {"missing row", shortData.Bytes()},
        {"unknown filter", badFilter.Bytes()},
        {"cut in the image data", FileBytes(good.begin(), good.end() - 12 - 10)},
        {"signature only", FileBytes(good.begin(), good.begin() + 8)},
        {"empty", {}},
    };
    for (const auto& [name, bytes] : damaged) EXPECT_THROW(DecodePng(bytes), DecodeError) << name;
}

TEST(PngDecoderTest, MissingEndChunkIsNotNeededOnceEveryRowIsIn)
{
    const FileBytes good = TwoRowsOfRgb().Bytes();
    const FileBytes withoutEnd(good.begin(), good.end() - 12);
    EXPECT_EQ(test::Bytes(DecodePng(withoutEnd)), (FileBytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
}

}  // namespace
}  // namespace selvane

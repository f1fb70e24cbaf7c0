// Headers that declare more pixels than kMaxPicturePixels are refused from the header,
// with a DecodeError, before anything of that size is allocated.
#include "engine/codec/Decoders.h"

#include "PictureFixtures.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>

namespace selvane {
namespace {

using test::FileBytes;

struct CapCase {
    const char* name;
    std::function<FileBytes()> file;
    Raster (*decode)(ByteSpan, PictureMetadata*);
};

FileBytes Bmp(std::int32_t width, std::int32_t height, std::uint32_t compression)
{
    test::BmpFixture fixture;
    fixture.width = width;
    fixture.height = height;
    fixture.bitCount = compression == 1 ? 8 : 24;
    fixture.compression = compression;
    fixture.pixels = {0, 1};  // an RLE end of bitmap; far too short for anything else
    return fixture.Bytes();
}

FileBytes Png(std::uint32_t width, std::uint32_t height)
{
    test::PngFixture fixture;
    fixture.width = width;
    fixture.height = height;
    fixture.bitDepth = 1;
    fixture.colourType = 0;
    fixture.scanlines = FileBytes(1000, 0);
    return fixture.Bytes();
}

FileBytes Gif(std::uint16_t screenWidth, std::uint16_t screenHeight, std::uint16_t frameWidth,
              std::uint16_t frameHeight)
{
    test::GifFixture fixture;
    fixture.screenWidth = screenWidth;
    fixture.screenHeight = screenHeight;
    fixture.globalColours = {0, 0, 0, 255, 255, 255};
    fixture.frames = {{.width = frameWidth, .height = frameHeight, .indices = {0, 1, 0, 1}}};
    return fixture.Bytes();
}

// A valid small JPEG whose frame header is rewritten to the given size.
FileBytes Jpeg(std::uint16_t width, std::uint16_t height)
{
    FileBytes bytes = test::JpegFixture{.samples = FileBytes(64 * 3, 128)}.Bytes();
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = static_cast<std::uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<std::uint8_t>(height);
            bytes[i + 7] = static_cast<std::uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<std::uint8_t>(width);
            break;
        }
    }
    return bytes;
}

class DecoderPixelCapTest : public ::testing::TestWithParam<CapCase> {};

TEST_P(DecoderPixelCapTest, RefusesFromTheHeader)
{
    const FileBytes bytes = GetParam().file();
    try {
        GetParam().decode(bytes, nullptr);
        ADD_FAILURE() << "decoded";
    } catch (const DecodeError& error) {
        EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, DecoderPixelCapTest,
    ::testing::Values(CapCase{"Bmp20000Square", [] { return Bmp(20000, 20000, 0); }, DecodeBmp},
                      CapCase{"BmpRle65535Square", [] { return Bmp(65535, 65535, 1); }, DecodeBmp},
                      CapCase{"BmpOnePixelOverTheCap", [] { return Bmp(16385, 16384, 1); }, DecodeBmp},
                      CapCase{"BmpTopDownMostNegativeHeight", [] { return Bmp(1, INT32_MIN, 0); }, DecodeBmp},
                      CapCase{"Png20000Square", [] { return Png(20000, 20000); }, DecodePng},
                      CapCase{"Png65535Square", [] { return Png(65535, 65535); }, DecodePng},
                      CapCase{"GifScreen65535Square", [] { return Gif(65535, 65535, 2, 2); }, DecodeGif},
                      CapCase{"GifFrame65535Square", [] { return Gif(10, 10, 65535, 65535); }, DecodeGif},
                      CapCase{"Jpeg20000Square", [] { return Jpeg(20000, 20000); }, DecodeJpeg},
                      CapCase{"Jpeg65500Square", [] { return Jpeg(65500, 65500); }, DecodeJpeg}),
    test::CaseName);

}  // namespace
}  // namespace selvane

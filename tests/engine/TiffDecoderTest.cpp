// TIFF layouts written here with libtiff, each with known samples, against the exact bytes
// the decoder must give: strips and tiles (with partly filled edge tiles), interleaved and
// separate planes, 8 and 16 bits, every colour model, and the reduction to 8 bits by rounding.
#include "engine/codec/Decoders.h"

#include "tests/support/CaseName.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <tiffio.h>

namespace selvane {
namespace {

constexpr int kWidth = 21;  // not a multiple of the 16-pixel tiles, so edge tiles are cut
constexpr int kHeight = 18;

struct Layout {
    const char* name;
    std::uint16_t photometric;
    int samples;  // per pixel, as written
    int bits;
    bool separate;
    bool tiled;
    std::uint16_t compression = COMPRESSION_NONE;
};

// Sample s of pixel (x, y), at full scale for the bit depth; values that rounding and
// dropping the low bits reduce differently (16-bit 129 is 1 after rounding, 0 after >> 8).
unsigned SampleValue(const Layout& layout, int x, int y, int s)
{
    if (layout.bits == 16) return static_cast<unsigned>((x * 3119 + y * 1013 + s * 20011) % 65536);
    return static_cast<unsigned>((x * 37 + y * 11 + s * 71) % 256);
}

std::uint8_t Rounded(const Layout& layout, unsigned value)
{
    return layout.bits == 16 ? static_cast<std::uint8_t>((value * 255 + 32767) / 65535)
                             : static_cast<std::uint8_t>(value);
}

// The blue, green, red bytes the decoder must give for pixel (x, y).
std::array<std::uint8_t, 3> Expected(const Layout& layout, int x, int y)
{
    const auto sample = [&](int s) { return SampleValue(layout, x, y, s); };
    const unsigned maximum = layout.bits == 16 ? 65535 : 255;
    switch (layout.photometric) {
    case PHOTOMETRIC_MINISBLACK: {
        const std::uint8_t grey = Rounded(layout, sample(0));
        return {grey, grey, grey};
    }
    case PHOTOMETRIC_MINISWHITE: {
        const std::uint8_t grey = Rounded(layout, maximum - sample(0));
        return {grey, grey, grey};
    }
    case PHOTOMETRIC_SEPARATED: {
        const auto under = [&](int ink) {
            const double value = 255.0 * (maximum - sample(ink)) * (maximum - sample(3)) / maximum / maximum;
            return static_cast<std::uint8_t>(value + 0.5);
        };
        return {under(2), under(1), under(0)};
    }
    default: return {Rounded(layout, sample(2)), Rounded(layout, sample(1)), Rounded(layout, sample(0))};
    }
}

std::vector<std::uint8_t> WriteTiff(const Layout& layout, const std::string& path)
{
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    EXPECT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, layout.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, layout.samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, layout.photometric);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, layout.compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, layout.separate ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    const int colourSamples = layout.photometric == PHOTOMETRIC_SEPARATED ? 4
                              : layout.photometric == PHOTOMETRIC_RGB     ? 3
                                                                          : 1;
    if (layout.samples > colourSamples) {
        const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    const int block = layout.tiled ? 16 : 5;  // 5 rows per strip: the last strip is short
    if (layout.tiled) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, block);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, block);
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, block);
    }
    const int planes = layout.separate ? layout.samples : 1;
    const int perPixel = layout.separate ? 1 : layout.samples;
    const int bytes = layout.bits / 8;
    const int blockWidth = layout.tiled ? block : kWidth;
    for (int plane = 0; plane < planes; ++plane) {
        for (int y0 = 0; y0 < kHeight; y0 += block) {
            for (int x0 = 0; x0 < kWidth; x0 += blockWidth) {
                const int rows = layout.tiled ? block : std::min(block, kHeight - y0);
                std::vector<std::uint8_t> data(
                    static_cast<std::size_t>(blockWidth * rows * perPixel * bytes));
                for (int r = 0; r < rows; ++r) {
                    for (int c = 0; c < blockWidth; ++c) {
                        for (int k = 0; k < perPixel; ++k) {
                            const int s = layout.separate ? plane : k;
                            const unsigned value = x0 + c < kWidth && y0 + r < kHeight
                                                       ? SampleValue(layout, x0 + c, y0 + r, s)
                                                       : 0;
                            const std::size_t at =
                                static_cast<std::size_t>(((r * blockWidth + c) * perPixel + k) * bytes);
                            if (bytes == 2) {
                                const auto word = static_cast<std::uint16_t>(value);
                                std::memcpy(&data[at], &word, 2);  // libtiff writes machine order
                            } else {
                                data[at] = static_cast<std::uint8_t>(value);
                            }
                        }
                    }
                }
                const auto sample = static_cast<std::uint16_t>(plane);
                const auto size = static_cast<tmsize_t>(data.size());
                if (layout.tiled)
                    TIFFWriteEncodedTile(tiff, TIFFComputeTile(tiff, x0, y0, 0, sample), data.data(), size);
                else TIFFWriteEncodedStrip(tiff, TIFFComputeStrip(tiff, y0, sample), data.data(), size);
            }
        }
    }
    TIFFClose(tiff);
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class TiffDecoderTest : public test::TemporaryFolderTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(TiffDecoderTest, GivesTheExactColours)
{
    const Layout& layout = GetParam();
    const Raster picture = DecodeTiff(WriteTiff(layout, Path("picture.tif")));
    ASSERT_EQ(picture.Width(), kWidth);
    ASSERT_EQ(picture.Height(), kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint8_t* pixel = picture.Row(y) + 3 * x;
            const auto expected = Expected(layout, x, y);
            ASSERT_EQ((std::array<std::uint8_t, 3>{pixel[0], pixel[1], pixel[2]}), expected)
                << "pixel " << x << ", " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TiffDecoderTest,
    ::testing::Values(Layout{"Rgb8Strips", PHOTOMETRIC_RGB, 3, 8, false, false},
                      Layout{"Rgb8TilesLzw", PHOTOMETRIC_RGB, 3, 8, false, true, COMPRESSION_LZW},
                      Layout{"Rgb8SeparateStrips", PHOTOMETRIC_RGB, 3, 8, true, false},
                      Layout{"Rgb16Strips", PHOTOMETRIC_RGB, 3, 16, false, false},
                      Layout{"Rgb16SeparateTilesDeflate", PHOTOMETRIC_RGB, 3, 16, true, true,
                             COMPRESSION_ADOBE_DEFLATE},
                      Layout{"Rgba8AlphaIgnored", PHOTOMETRIC_RGB, 4, 8, false, false},
                      Layout{"Rgba16SeparateAlphaIgnored", PHOTOMETRIC_RGB, 4, 16, true, false},
                      Layout{"Grey8Tiles", PHOTOMETRIC_MINISBLACK, 1, 8, false, true},
                      Layout{"Grey16Strips", PHOTOMETRIC_MINISBLACK, 1, 16, false, false},
                      Layout{"WhiteIsZero16", PHOTOMETRIC_MINISWHITE, 1, 16, false, false},
                      Layout{"Cmyk8Strips", PHOTOMETRIC_SEPARATED, 4, 8, false, false},
                      Layout{"Cmyk16SeparateTiles", PHOTOMETRIC_SEPARATED, 4, 16, true, true}),
    test::CaseName);

class TiffRefusals : public test::TemporaryFolderTest {};

TEST_F(TiffRefusals, FloatingPointSamplesAreRefusedCleanly)
{
    TIFF* tiff = TIFFOpen(Path("b.tif").c_str(), "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 2);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 32);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    float pixels[4] = {0.f, 0.25f, 0.5f, 1.f};
    TIFFWriteEncodedStrip(tiff, 0, pixels, sizeof pixels);
    TIFFClose(tiff);
    std::ifstream file(Path("b.tif"), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    EXPECT_THROW(DecodeTiff(bytes), DecodeError);
}

}  // namespace
}  // namespace selvane

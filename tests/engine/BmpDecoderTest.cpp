#include "engine/codec/Decoders.h"

#include "PictureFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

using test::BmpFixture;
using test::FileBytes;

Raster Decode(const BmpFixture& fixture)
{
    const FileBytes bytes = fixture.Bytes();
    return DecodeBmp(bytes);
}

FileBytes DecodedBytes(const BmpFixture& fixture)
{
    return test::Bytes(Decode(fixture));
}

TEST(BmpDecoderTest, BottomUpRowsArePaddedAndComeOutTopFirst)
{
    BmpFixture fixture;
    fixture.width = 2;
    fixture.height = 2;
    fixture.pixels = {1, 2, 3, 4,  5,  6,  0, 0,   // bottom row, padded to 8 bytes
                      7, 8, 9, 10, 11, 12, 0, 0};  // top row
    EXPECT_EQ(DecodedBytes(fixture), (FileBytes{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));
}

TEST(BmpDecoderTest, TopDown32BitDropsTheFourthByte)
{
    BmpFixture fixture;
    fixture.width = 2;
    fixture.height = -2;
    fixture.bitCount = 32;
    fixture.pixels = {1, 2, 3, 255, 4, 5, 6, 0, 7, 8, 9, 128, 10, 11, 12, 1};
    const Raster picture = Decode(fixture);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(test::Bytes(picture), (FileBytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(BmpDecoderTest, MissingPaddingOfTheLastRowIsAccepted)
{
    BmpFixture fixture;
    fixture.width = 1;
    fixture.height = 2;
    fixture.pixels = {1, 2, 3, 0, 4, 5, 6};
    EXPECT_EQ(DecodedBytes(fixture), (FileBytes{4, 5, 6, 1, 2, 3}));
}

TEST(BmpDecoderTest, PixelDataCutShortIsAnError)
{
    BmpFixture fixture;
    fixture.width = 1;
    fixture.height = 2;
    fixture.pixels = {1, 2, 3, 0, 4, 5};
    EXPECT_THROW(Decode(fixture), DecodeError);
}

// The same two pixels under every header size the reader knows.
class BmpHeaderSizeTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(BmpHeaderSizeTest, ReadsTheSamePixels)
{
    BmpFixture fixture;
    fixture.headerSize = GetParam();
    fixture.width = 2;
    fixture.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
    EXPECT_EQ(DecodedBytes(fixture), (FileBytes{1, 2, 3, 4, 5, 6}));
}

INSTANTIATE_TEST_SUITE_P(Known, BmpHeaderSizeTest,
                         ::testing::Values(12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u));

TEST(BmpDecoderTest, UnknownHeaderSizesAreRefused)
{
    BmpFixture fixture;
    fixture.pixels = {1, 2, 3, 0};
    for (const std::uint32_t size : {0u, 8u, 66u, 100u, 0xFFFFFFFFu}) {
        FileBytes bytes = fixture.Bytes();
        test::PutLittleEndian(bytes, 14, size, 4);
        EXPECT_THROW(DecodeBmp(bytes), DecodeError) << size;
    }
}

struct Variant {
    const char* name;
    std::uint32_t headerSize;
    std::uint16_t bitCount;
    std::uint32_t compression;
};

class BmpUnsupportedTest : public ::testing::TestWithParam<Variant> {};

TEST_P(BmpUnsupportedTest, IsRefused)
{
    BmpFixture fixture;
    fixture.headerSize = GetParam().headerSize;
    fixture.bitCount = GetParam().bitCount;
    fixture.compression = GetParam().compression;
    fixture.masks = {0xFF0000, 0xFF00, 0xFF};
    fixture.pixels = FileBytes(64, 0);
    EXPECT_THROW(Decode(fixture), DecodeError);
}

INSTANTIATE_TEST_SUITE_P(Variants, BmpUnsupportedTest,
                         ::testing::Values(Variant{"Depth0", 40, 0, 0}, Variant{"Depth64", 40, 64, 0},
                                           Variant{"Depth30000", 40, 30000, 0}, Variant{"Jpeg", 124, 24, 4},
                                           Variant{"Png", 124, 24, 5}, Variant{"Rle8At4Bits", 40, 4, 1},
                                           Variant{"Rle4At8Bits", 40, 8, 2},
                                           Variant{"BitFieldsAt24Bits", 40, 24, 3},
                                           Variant{"Os2Huffman", 64, 1, 3}, Variant{"Os2Rle24", 64, 24, 4}),
                         test::CaseName);

struct MaskCase {
    const char* name;
    std::uint32_t headerSize;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::vector<std::uint32_t> masks;
    std::uint32_t pixel;
    FileBytes blueGreenRed;
};

class BmpChannelMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(BmpChannelMaskTest, ScalesEachChannelToEightBits)
{
    const MaskCase& test = GetParam();
    BmpFixture fixture;
    fixture.headerSize = test.headerSize;
    fixture.bitCount = test.bitCount;
    fixture.compression = test.compression;
    fixture.masks = test.masks;
    test::AppendLittleEndian(fixture.pixels, test.pixel, 4);  // a 16-bit pixel plus padding
    EXPECT_EQ(DecodedBytes(fixture), test.blueGreenRed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BmpChannelMaskTest,
    ::testing::Values(
        MaskCase{"Blue565", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, 0x001F, {255, 0, 0}},
        MaskCase{"Red565", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, 0xF800, {0, 0, 255}},
        MaskCase{"Green565", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, 0x07E0, {0, 255, 0}},
        // 5-bit 1 and 6-bit 2 both widen to 8 by repeating their bits.
        MaskCase{"Low565", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, 0x0841, {8, 8, 8}},
        MaskCase{"Default555White", 40, 16, 0, {}, 0x7FFF, {255, 255, 255}},
        MaskCase{"Default555IgnoresTopBit", 40, 16, 0, {}, 0x8000, {0, 0, 0}},
        MaskCase{"OneBitRed", 40, 16, 3, {0x8000, 0x07E0, 0x001F}, 0x8000, {0, 0, 255}},
        MaskCase{"ZeroMaskReadsZero", 40, 16, 3, {0xF800, 0x07E0, 0}, 0xFFFF, {0, 255, 255}},
        // 10-bit channels keep their top 8 bits.
        MaskCase{"TenBitsInV3Header",
                 56,
                 32,
                 3,
                 {0x3FF00000, 0x000FFC00, 0x000003FF},
                 0x3FF80001,
                 {0x00, 0x80, 0xFF}},
        MaskCase{"AlphaBitFieldsRgba",
                 40,
                 32,
                 6,
                 {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
                 0x80332211,
                 {0x33, 0x22, 0x11}},
        MaskCase{"WholeWordRed", 40, 32, 3, {0xFFFFFFFF, 0, 0}, 0xAB000000, {0, 0, 0xAB}},
        MaskCase{"V5Header", 124, 32, 3, {0xFF00, 0xFF0000, 0xFF000000}, 0x11223344, {0x11, 0x22, 0x33}}),
    test::CaseName);

TEST(BmpDecoderTest, MaskWithGapsIsRefused)
{
    BmpFixture fixture;
    fixture.bitCount = 32;
    fixture.compression = 3;
    fixture.masks = {0x00FF00FF, 0x0000FF00, 0};
    fixture.pixels = {0, 0, 0, 0};
    EXPECT_THROW(Decode(fixture), DecodeError);
}

TEST(BmpDecoderTest, IndexedPixelsLeftmostInTheHighBits)
{
    BmpFixture fixture;
    fixture.headerSize = 12;  // 3-byte colour table entries
    fixture.width = 3;
    fixture.bitCount = 1;
    fixture.palette = {{{10, 20, 30}}, {{40, 50, 60}}};
    fixture.pixels = {0b10100000, 0, 0, 0};
    EXPECT_EQ(DecodedBytes(fixture), (FileBytes{60, 50, 40, 30, 20, 10, 60, 50, 40}));
}

TEST(BmpDecoderTest, IndexBeyondTheDeclaredTableIsBlack)
{
    BmpFixture fixture;
    fixture.width = 3;
    fixture.bitCount = 4;
    fixture.colorsUsed = 2;
    fixture.palette = {{{10, 20, 30}}, {{40, 50, 60}}};
    fixture.pixels = {0x12, 0xF0, 0, 0};
    EXPECT_EQ(DecodedBytes(fixture), (FileBytes{60, 50, 40, 0, 0, 0, 0, 0, 0}));
}

TEST(BmpDecoderTest, TableCutShortByThePixelDataIsReadAsFarAsItGoes)
{
    BmpFixture fixture;  // 8 bits imply 256 entries, but the pixels start after two
    fixture.width = 2;
    fixture.bitCount = 8;
    fixture.palette = {{{10, 20, 30}}, {{40, 50, 60}}};
    fixture.pixels = {1, 2, 0, 0};
    EXPECT_EQ(DecodedBytes(fixture), (FileBytes{60, 50, 40, 0, 0, 0}));
}

TEST(BmpDecoderTest, DeclaredTableLargerThanTheFileIsRefused)
{
    BmpFixture fixture;
    fixture.bitCount = 8;
    fixture.colorsUsed = 0x10000000;
    fixture.palette = {{{10, 20, 30}}};
    fixture.pixels = {0, 0, 0, 0};
    EXPECT_THROW(Decode(fixture), DecodeError);
}

// Palette for the RLE tests: 0 is the colour of pixels the stream never reaches.
const std::vector<std::array<std::uint8_t, 3>> kRlePalette = {{{10, 20, 30}}, {{255, 0, 0}}, {{0, 0, 255}}};
const FileBytes kUnreached = {30, 20, 10};
const FileBytes kRed = {0, 0, 255};
const FileBytes kBlue = {255, 0, 0};

FileBytes Row(std::initializer_list<FileBytes> pixels)
{
    FileBytes bytes;
    for (const auto& pixel : pixels) bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    return bytes;
}

BmpFixture RleFixture(int width, int height, std::uint16_t bitCount, FileBytes stream)
{
    BmpFixture fixture;
    fixture.width = width;
    fixture.height = height;
    fixture.bitCount = bitCount;
    fixture.compression = bitCount == 8 ? 1 : 2;
    fixture.palette = kRlePalette;
    fixture.pixels = std::move(stream);
    return fixture;
}

TEST(BmpDecoderTest, Rle4RunsDeltaAndLiteral)
{
    const BmpFixture fixture = RleFixture(4, 3, 4,
                                          {0x02, 0x12,              // bottom row: 1, 2
                                           0x00, 0x02, 0x01, 0x01,  // delta: right 1, up 1
                                           0x01, 0x10,              // 1 at (3, 1)
                                           0x00, 0x00,              // end of line
                                           0x00, 0x03, 0x21, 0x20,  // literal 2, 1, 2
                                           0x00, 0x01});            // end of bitmap
    EXPECT_EQ(DecodedBytes(fixture), Row({kBlue, kRed, kBlue, kUnreached, kUnreached, kUnreached, kUnreached,
                                          kRed, kRed, kBlue, kUnreached, kUnreached}));
}

TEST(BmpDecoderTest, Rle8OddLiteralIsPaddedToAWord)
{
    const BmpFixture fixture = RleFixture(4, 1, 8, {0x00, 0x03, 1, 2, 1, 0xEE, 0x01, 0x02, 0x00, 0x01});
    EXPECT_EQ(DecodedBytes(fixture), Row({kRed, kBlue, kRed, kBlue}));
}

TEST(BmpDecoderTest, RleStreamThatStopsEarlyKeepsWhatItDrew)
{
    const BmpFixture fixture = RleFixture(2, 2, 8, {0x02, 0x01, 0x00});
    EXPECT_EQ(DecodedBytes(fixture), Row({kUnreached, kUnreached, kRed, kRed}));
}

TEST(BmpDecoderTest, RleThatLeavesThePictureIsRefused)
{
    const std::vector<FileBytes> streams = {
        {0x05, 0x01},                          // run past the end of the row
        {0x00, 0x05, 1, 1, 1, 1, 1, 0},        // literal past the end of the row
        {0x00, 0x02, 0x05, 0x00},              // delta past the right edge
        {0x00, 0x02, 0x00, 0x03},              // delta past the top
        {0x00, 0x00, 0x00, 0x00, 0x01, 0x01},  // a run after the last row
    };
    for (const FileBytes& stream : streams)
        EXPECT_THROW(Decode(RleFixture(4, 1, 8, stream)), DecodeError) << ::testing::PrintToString(stream);
}

TEST(BmpDecoderTest, RleStoredTopDownIsRefused)
{
    EXPECT_THROW(Decode(RleFixture(2, -2, 8, {0x00, 0x01})), DecodeError);
}

}  // namespace
}  // namespace selvane

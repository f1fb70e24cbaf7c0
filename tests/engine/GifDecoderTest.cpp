#include "engine/codec/Decoders.h"

#include "PictureFixtures.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

using test::FileBytes;
using test::GifFixture;

// Four colours, red/green/blue; entry 2 is the background in most tests.
const FileBytes kColours = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
const FileBytes c0 = {30, 20, 10};
const FileBytes c1 = {60, 50, 40};
const FileBytes c2 = {90, 80, 70};
const FileBytes c3 = {120, 110, 100};
const FileBytes kBlack = {0, 0, 0};

FileBytes Pixels(std::initializer_list<FileBytes> pixels)
{
    FileBytes bytes;
    for (const auto& pixel : pixels) bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    return bytes;
}

GifFixture Screen(std::uint16_t width, std::uint16_t height, GifFixture::Frame frame)
{
    GifFixture fixture;
    fixture.screenWidth = width;
    fixture.screenHeight = height;
    fixture.backgroundIndex = 2;
    fixture.globalColours = kColours;
    fixture.frames = {std::move(frame)};
    return fixture;
}

Raster Decode(const GifFixture& fixture)
{
    const FileBytes bytes = fixture.Bytes();
    return DecodeGif(bytes);
}

FileBytes DecodedBytes(const GifFixture& fixture)
{
    return test::Bytes(Decode(fixture));
}

TEST(GifDecoderTest, FrameSmallerThanTheScreenSitsOnTheBackgroundColour)
{
    const GifFixture fixture =
        Screen(4, 3, {.left = 1, .top = 1, .width = 2, .height = 2, .indices = {0, 1, 3, 0}});
    const Raster canvas = Decode(fixture);
    EXPECT_EQ(canvas.Width(), 4);
    EXPECT_EQ(canvas.Height(), 3);
    EXPECT_EQ(test::Bytes(canvas), Pixels({c2, c2, c2, c2, c2, c0, c1, c2, c2, c3, c0, c2}));
}

TEST(GifDecoderTest, FrameIsClippedToTheScreen)
{
    const GifFixture fixture =
        Screen(2, 2, {.left = 1, .top = 1, .width = 2, .height = 2, .indices = {0, 1, 3, 1}});
    EXPECT_EQ(DecodedBytes(fixture), Pixels({c2, c2, c2, c0}));
}

TEST(GifDecoderTest, FrameOutsideTheScreenLeavesTheBackground)
{
    const GifFixture fixture =
        Screen(2, 1, {.left = 60000, .top = 60000, .width = 1, .height = 1, .indices = {0}});
    EXPECT_EQ(DecodedBytes(fixture), Pixels({c2, c2}));
}

TEST(GifDecoderTest, FrameOfZeroHeightLeavesTheBackground)
{
    const GifFixture fixture = Screen(2, 1, {.width = 2, .height = 0, .indices = {}});
    EXPECT_EQ(DecodedBytes(fixture), Pixels({c2, c2}));
}

TEST(GifDecoderTest, InterlacedRowsAreReordered)
{
    // Stored as rows 0, 4, 2, 1, 3.
    const GifFixture fixture =
        Screen(1, 5, {.width = 1, .height = 5, .interlaced = true, .indices = {0, 1, 2, 3, 0}});
    EXPECT_EQ(DecodedBytes(fixture), Pixels({c0, c3, c2, c0, c1}));
}

TEST(GifDecoderTest, TransparentIndexDrawsItsColour)
{
    const GifFixture fixture = Screen(2, 1, {.width = 2, .transparentIndex = 1, .indices = {1, 0}});
    EXPECT_EQ(DecodedBytes(fixture), Pixels({c1, c0}));
}

TEST(GifDecoderTest, LocalColourTableReplacesTheGlobalOne)
{
    const GifFixture fixture =
        Screen(2, 1, {.width = 1, .localColours = {200, 0, 0, 0, 200, 0}, .indices = {1}});
    EXPECT_EQ(DecodedBytes(fixture), Pixels({{0, 200, 0}, c2}));
}

TEST(GifDecoderTest, IndexBeyondTheColourTableIsBlack)
{
    GifFixture fixture = Screen(2, 1, {.width = 2, .indices = {0, 3}});
    fixture.globalColours.resize(6);  // two entries
    EXPECT_EQ(DecodedBytes(fixture), Pixels({c0, kBlack}));
}

TEST(GifDecoderTest, BackgroundIndexBeyondTheColourTableIsBlack)
{
    GifFixture fixture = Screen(2, 1, {.width = 1, .indices = {1}});
    fixture.globalColours.resize(6);
    fixture.backgroundIndex = 3;
    EXPECT_EQ(DecodedBytes(fixture), Pixels({c1, kBlack}));
}

TEST(GifDecoderTest, WithoutAnyColourTableEverythingIsBlack)
{
    GifFixture fixture = Screen(2, 1, {.width = 1, .indices = {1}});
    fixture.globalColours.clear();
    EXPECT_EQ(DecodedBytes(fixture), Pixels({kBlack, kBlack}));
}

TEST(GifDecoderTest, OnlyTheFirstFrameIsRead)
{
    GifFixture fixture = Screen(2, 1, {.width = 2, .indices = {0, 1}});
    fixture.frames.push_back({.width = 2, .indices = {3, 3}});
    FileBytes bytes = fixture.Bytes();
    // Damage everything after the first frame: it must not be read.
    const FileBytes first = Screen(2, 1, {.width = 2, .indices = {0, 1}}).Bytes();
    for (std::size_t i = first.size() - 1; i < bytes.size(); ++i) bytes[i] = 0xFF;
    EXPECT_EQ(test::Bytes(DecodeGif(bytes)), Pixels({c0, c1}));
}

TEST(GifDecoderTest, BrokenFilesAreRefused)
{
    const FileBytes good = Screen(4, 3, {.width = 4, .height = 3, .indices = FileBytes(12, 1)}).Bytes();
    ASSERT_NO_THROW(DecodeGif(good));

    GifFixture noImage = Screen(4, 3, {});
    noImage.frames.clear();
    FileBytes zeroWidth = good;
    zeroWidth[6] = zeroWidth[7] = 0;
    FileBytes codeSize12 = good;
    codeSize12[13 + 12 + 10] = 12;  // after header, screen, colours and image descriptor
    const std::vector<std::pair<const char*, FileBytes>> broken = {
        {"no image", noImage.Bytes()},
        {"screen width 0", zeroWidth},
        {"code size 12", codeSize12},
        {"cut in the image data", FileBytes(good.begin(), good.end() - 6)},
        {"header only", FileBytes(good.begin(), good.begin() + 6)},
        {"empty", {}},
    };
    for (const auto& [name, bytes] : broken) EXPECT_THROW(DecodeGif(bytes), DecodeError) << name;
}

}  // namespace
}  // namespace selvane

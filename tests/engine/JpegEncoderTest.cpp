#include "engine/codec/JpegEncoder.h"

#include "engine/codec/Decoders.h"
#include "engine/codec/PictureEncoder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRasters.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace selvane {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A smooth picture: colour ramps that JPEG keeps close at high quality.
Raster Gradient(int width, int height)
{
    Raster raster(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = raster.Row(y) + 3 * x;
            pixel[0] = static_cast<std::uint8_t>(255 * x / (width - 1));
            pixel[1] = static_cast<std::uint8_t>(255 * y / (height - 1));
            pixel[2] = 128;
        }
    return raster;
}

// The markers of the header segments, from the start of the file to the first scan.
std::set<std::uint8_t> HeaderMarkers(const std::vector<std::uint8_t>& bytes)
{
    std::set<std::uint8_t> markers;
    std::size_t at = 2;
    while (at + 3 < bytes.size() && bytes[at] == 0xFF) {
        markers.insert(bytes[at + 1]);
        if (bytes[at + 1] == 0xDA) break;
        at += 2 + static_cast<std::size_t>(bytes[at + 2] << 8 | bytes[at + 3]);
    }
    return markers;
}

using JpegEncoderTest = test::TemporaryFolderTest;

TEST_F(JpegEncoderTest, WritesABaselineFileThatDecodesBackAtTheQualityLimits)
{
    const Raster source = Gradient(37, 23);
    for (const int quality : {5, 95}) {
        SCOPED_TRACE(quality);
        WriteJpegFile(source, quality, Path("out.jpg"));

        const auto bytes = ReadFile(Path("out.jpg"));
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xD8);
        const auto markers = HeaderMarkers(bytes);
        EXPECT_TRUE(markers.count(0xDA)) << "no scan";
        EXPECT_TRUE(markers.count(0xC0)) << "no baseline frame header";
        const std::uint8_t others[] = {0xC1, 0xC2, 0xC9, 0xCA};
        for (const std::uint8_t other : others) EXPECT_FALSE(markers.count(other)) << int{other};
        EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
        EXPECT_EQ(bytes[bytes.size() - 1], 0xD9);

        const Raster decoded = DecodeJpeg(bytes);
        EXPECT_EQ(decoded.Width(), 37);
        EXPECT_EQ(decoded.Height(), 23);
        EXPECT_EQ(Entries(), std::set<std::string>{"out.jpg"});
    }
}

TEST_F(JpegEncoderTest, HighQualityKeepsTheColoursClose)
{
    const Raster source = Gradient(64, 48);
    WriteJpegFile(source, 95, Path("out.jpg"));
    const auto decoded = test::Bytes(DecodeJpeg(ReadFile(Path("out.jpg"))));
    const auto original = test::Bytes(source);
    long total = 0;
    for (std::size_t i = 0; i < original.size(); ++i) total += std::abs(decoded[i] - original[i]);
    EXPECT_LT(static_cast<double>(total) / static_cast<double>(original.size()), 2.0);
}

TEST_F(JpegEncoderTest, LowQualityMakesASmallerFile)
{
    const Raster source = test::RandomRaster(64, 64, 7);
    WriteJpegFile(source, 5, Path("low.jpg"));
    WriteJpegFile(source, 95, Path("high.jpg"));
    EXPECT_LT(std::filesystem::file_size(Path("low.jpg")) * 2, std::filesystem::file_size(Path("high.jpg")));
}

TEST_F(JpegEncoderTest, WriteIntoAMissingFolderThrowsAndLeavesNothing)
{
    EXPECT_THROW(WriteJpegFile(Gradient(8, 8), 75, Path("missing/out.jpg")), std::runtime_error);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(JpegEncoderTest, ExistingFileIsReplacedWhole)
{
    test::WriteBytes(Path("out.jpg"), std::vector<std::uint8_t>(100000, 0xAB));
    WriteJpegFile(Gradient(16, 16), 75, Path("out.jpg"));
    const auto bytes = ReadFile(Path("out.jpg"));
    EXPECT_LT(bytes.size(), 100000u);
    EXPECT_EQ(DecodeJpeg(bytes).Width(), 16);
    EXPECT_EQ(Entries(), std::set<std::string>{"out.jpg"});
}

TEST_F(JpegEncoderTest, FailedEncodeLeavesTheEarlierFileUntouched)
{
    const std::vector<std::uint8_t> earlier(1000, 0x5A);
    test::WriteBytes(Path("out.jpg"), earlier);
    EXPECT_THROW(WriteJpegFile(Raster(), 75, Path("out.jpg")), std::runtime_error);
    EXPECT_EQ(ReadFile(Path("out.jpg")), earlier);
    EXPECT_EQ(Entries(), std::set<std::string>{"out.jpg"});
}

// The bytes WriteJpegFile wrote before the encoder had options, as FNV-1a hashes: the
// default settings must keep them exactly.
TEST_F(JpegEncoderTest, DefaultSettingsKeepTheBytesOfTheBaselineEncoder)
{
    Raster source(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            std::uint8_t* pixel = source.Row(y) + 3 * x;
            pixel[0] = static_cast<std::uint8_t>(255 * x / 36);
            pixel[1] = static_cast<std::uint8_t>(255 * y / 22);
            pixel[2] = static_cast<std::uint8_t>(x * y * 7);
        }
    PictureMetadata metadata;
    for (int i = 0; i < 300; ++i) metadata.icc.push_back(static_cast<std::uint8_t>(i * 13));
    metadata.exif = {'I', 'I', '*', 0, 8, 0, 0, 0, 0, 0};
    const std::string xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
    metadata.xmp.assign(xmp.begin(), xmp.end());
    const auto hash = [](const std::vector<std::uint8_t>& bytes) {
        std::uint64_t value = 14695981039346656037u;
        for (const std::uint8_t byte : bytes) value = (value ^ byte) * 1099511628211u;
        return value;
    };
    struct Case {
        int quality;
        bool withMetadata;
        std::size_t size;
        std::uint64_t hash;
    };
    const Case cases[] = {
        {5, false, 676, 0x60cac61fc7eda81a},   {5, true, 1084, 0x6f04d2e9d21e1bc1},
        {74, false, 1037, 0x2fdd94c3b7d5b83c}, {74, true, 1445, 0xb70e75ffa4a4e031},
        {95, false, 1543, 0x18d7bd6a7996da6b}, {95, true, 1951, 0x45182958187dfad6},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(testing::Message() << "quality " << row.quality
                                        << (row.withMetadata ? " with" : " without") << " metadata");
        const PictureMetadata* given = row.withMetadata ? &metadata : nullptr;
        WriteJpegFile(source, row.quality, Path("out.jpg"), given);
        const auto written = ReadFile(Path("out.jpg"));
        EXPECT_EQ(written.size(), row.size);
        EXPECT_EQ(hash(written), row.hash);
        EXPECT_EQ(EncodePicture(source, {.quality = row.quality}, given), written);
    }
}

TEST_F(JpegEncoderTest, OptimizedTablesKeepThePixelsInASmallerBaselineFile)
{
    const Raster source = test::RandomRaster(64, 48, 3);
    const auto plain = EncodePicture(source, {.quality = 80}, nullptr);
    const auto optimized = EncodePicture(source, {.quality = 80, .optimize = true}, nullptr);
    EXPECT_LT(optimized.size(), plain.size());
    EXPECT_TRUE(HeaderMarkers(optimized).count(0xC0)) << "not baseline";
    EXPECT_EQ(test::Bytes(DecodeJpeg(optimized)), test::Bytes(DecodeJpeg(plain)));
}

// Progression sends the same quantised coefficients in several scans, so the pixels are
// those of the baseline file.
TEST_F(JpegEncoderTest, ProgressiveFileDecodesToTheBaselinePixels)
{
    const Raster source = Gradient(61, 45);
    const auto baseline = test::Bytes(DecodeJpeg(EncodePicture(source, {.quality = 70}, nullptr)));
    for (const bool optimize : {false, true}) {
        SCOPED_TRACE(optimize);
        const auto progressive =
            EncodePicture(source, {.quality = 70, .optimize = optimize, .progressive = true}, nullptr);
        EXPECT_TRUE(HeaderMarkers(progressive).count(0xC2)) << "no progressive frame header";
        EXPECT_EQ(test::Bytes(DecodeJpeg(progressive)), baseline);
    }
}

}  // namespace
}  // namespace selvane

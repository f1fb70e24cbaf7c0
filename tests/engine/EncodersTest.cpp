#include "engine/codec/Decoders.h"
#include "engine/codec/PictureEncoder.h"
#include "engine/colour/ColourProfile.h"
#include "tests/engine/PhotoFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace selvane {
namespace {

// A smooth picture with some fine detail, at odd sides so that subsampled chroma has a
// half block at the edges.
Raster Scene(int width, int height)
{
    Raster raster(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = raster.Row(y) + 3 * x;
            pixel[0] = static_cast<std::uint8_t>(255 * x / (width - 1));
            pixel[1] = static_cast<std::uint8_t>(255 * y / (height - 1));
            pixel[2] = static_cast<std::uint8_t>(128 + ((x / 4 + y / 4) % 2) * 40);
        }
    return raster;
}

// (TestRasters.h's name for this clashes with PhotoFixtures.h's.)
std::vector<std::uint8_t> Samples(const Raster& raster)
{
    return {raster.Data(), raster.Data() + raster.Stride() * static_cast<std::size_t>(raster.Height())};
}

double MeanDifference(const Raster& a, const Raster& b)
{
    const auto first = Samples(a), second = Samples(b);
    long total = 0;
    for (std::size_t i = 0; i < first.size(); ++i) total += std::abs(first[i] - second[i]);
    return static_cast<double>(total) / static_cast<double>(first.size());
}

Raster InSrgb(const Raster& raster, const std::vector<std::uint8_t>& icc)
{
    Raster converted(raster.Width(), raster.Height());
    const auto samples = Samples(raster);
    std::copy(samples.begin(), samples.end(), converted.Data());
    EXPECT_TRUE(ConvertToSrgb(converted, icc));
    return converted;
}

PictureMetadata Photo()
{
    return {test::AdobeRgbProfile(),
            test::ExifBlock(
                {{"Exif.Image.Make", "Selvane"}, {"Exif.Photo.DateTimeOriginal", "2023:05:01 10:20:30"}}),
            test::XmpPacket({{"Xmp.dc.title", "Harbour"}})};
}

struct FormatCase {
    const char* name;
    const char* messagePrefix;
    EncodeSettings settings;
    Raster (*decode)(ByteSpan, PictureMetadata*);
    double tolerance;     // mean difference per sample allowed; 0: exact
    bool profileAsIs;     // false: the decoder gives another profile, with pixels to match
    const char* checker;  // the format's own tool: {in} the file checked, {out} a decoded copy
};

std::string Replaced(std::string text, const std::string& token, const std::string& value)
{
    for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size()))
        text.replace(at, token.size(), value);
    return text;
}

class EncodersTest : public test::TemporaryFolderTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(EncodersTest, DecodesToTheRasterAtItsSize)
{
    const Raster source = Scene(37, 23);
    const Raster decoded = GetParam().decode(EncodePicture(source, GetParam().settings, nullptr), nullptr);
    ASSERT_EQ(decoded.Width(), 37);
    ASSERT_EQ(decoded.Height(), 23);
    EXPECT_EQ(IsLossless(GetParam().settings), GetParam().tolerance == 0);
    if (GetParam().tolerance == 0) EXPECT_EQ(Samples(decoded), Samples(source));
    else EXPECT_LT(MeanDifference(decoded, source), GetParam().tolerance);
}

TEST_P(EncodersTest, CarriesTheProfileTheExifAndTheXmp)
{
    const PictureMetadata written = Photo();
    PictureMetadata read;
    const Raster source = Scene(37, 23);
    const Raster decoded = GetParam().decode(EncodePicture(source, GetParam().settings, &written), &read);
    if (GetParam().profileAsIs) EXPECT_EQ(read.icc, written.icc);
    else  // the profile of the pixels the decoder gives, which show the colours written
        EXPECT_LT(MeanDifference(InSrgb(decoded, read.icc), InSrgb(source, written.icc)), 8);
    EXPECT_EQ(read.exif, written.exif);
    EXPECT_EQ(read.xmp, written.xmp);
}

TEST_P(EncodersTest, TheFormatsOwnToolAcceptsTheFile)
{
    const std::string checker = GetParam().checker;
    const std::string tool = checker.substr(0, checker.find(' '));
    ASSERT_EQ(std::system(("command -v " + tool + " >/dev/null").c_str()), 0)
        << tool << " is not installed (scripts/install-deps installs it)";
    const PictureMetadata metadata = Photo();
    WritePictureFile(Scene(37, 23), GetParam().settings, Path("out"), &metadata);
    const std::string command =
        Replaced(Replaced(checker, "{in}", "'" + Path("out") + "'"), "{out}", "'" + Path("decoded") + "'") +
        " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

TEST_P(EncodersTest, FailedEncodeThrowsNamingTheFormatAndLeavesTheEarlierFile)
{
    const std::vector<std::uint8_t> earlier(1000, 0x5A);
    test::WriteBytes(Path("out"), earlier);
    try {
        WritePictureFile(Raster(), GetParam().settings, Path("out"), nullptr);
        ADD_FAILURE() << "an empty picture was written";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind(std::string(GetParam().messagePrefix) + ": ", 0), 0u)
            << error.what();
    }
    EXPECT_EQ(test::ReadBytes(Path("out")), earlier);
    EXPECT_EQ(Entries(), std::set<std::string>{"out"});
}

TEST_P(EncodersTest, WriteIntoAMissingFolderThrowsAndLeavesNothing)
{
    EXPECT_THROW(WritePictureFile(Scene(8, 8), GetParam().settings, Path("missing/out"), nullptr),
                 std::runtime_error);
    EXPECT_TRUE(Entries().empty());
}

// The lossy formats blur the red checks, an edge of colour alone, so they come within a mean
// of 6 a sample. libjxl 0.7 decodes lossy JPEG XL made with an ICC profile to linear sRGB,
// whose 8 bits are coarse in the shadows, and says so with a profile of its own.
INSTANTIATE_TEST_SUITE_P(
    Formats, EncodersTest,
    ::testing::Values(
        FormatCase{"Jpeg",
                   "JPEG",
                   {.format = OutputFormat::Jpeg, .quality = 90},
                   DecodeJpeg,
                   6,
                   true,
                   "djpeg -outfile {out} {in}"},
        FormatCase{"Png", "PNG", {.format = OutputFormat::Png}, DecodePng, 0, true, "pngcheck -q {in}"},
        FormatCase{"WebpLossy",
                   "WebP",
                   {.format = OutputFormat::Webp, .quality = 90},
                   DecodeWebp,
                   6,
                   true,
                   "dwebp {in} -o {out}"},
        FormatCase{"WebpLossless",
                   "WebP",
                   {.format = OutputFormat::Webp, .lossless = true},
                   DecodeWebp,
                   0,
                   true,
                   "dwebp {in} -o {out}"},
        FormatCase{"Avif",
                   "AVIF",
                   {.format = OutputFormat::Avif, .quality = 90},
                   DecodeAvif,
                   6,
                   true,
                   "avifdec {in} {out}.png"},
        FormatCase{"JxlLossy",
                   "JPEG XL",
                   {.format = OutputFormat::Jxl, .quality = 90},
                   DecodeJxl,
                   6,
                   false,
                   "djxl {in} {out}.png"},
        FormatCase{"JxlLossless",
                   "JPEG XL",
                   {.format = OutputFormat::Jxl, .lossless = true},
                   DecodeJxl,
                   0,
                   true,
                   "djxl {in} {out}.png"}),
    test::CaseName);

// Each row spoils one block of the metadata in a way its format cannot hold: the picture is
// still written, without that block, with the others.
TEST(EncodersMetadataTest, WhatTheFormatCannotHoldIsLeftOutAndTheRestKept)
{
    enum Block { Icc, Exif, Xmp };
    struct Case {
        const char* name;
        OutputFormat format;
        Raster (*decode)(ByteSpan, PictureMetadata*);
        Block spoiled;
        std::vector<std::uint8_t> value;
    };
    std::vector<std::uint8_t> exifAfterItsJpegSignature{'E', 'x', 'i', 'f', 0, 0};
    const auto exif = Photo().exif;
    exifAfterItsJpegSignature.insert(exifAfterItsJpegSignature.end(), exif.begin(), exif.end());
    const std::string xmpWithAZero = std::string("<x:xmpmeta>") + '\0' + "</x:xmpmeta>";
    const Case cases[] = {
        {"PNG, a CMYK profile", OutputFormat::Png, DecodePng, Icc, test::CmykProfile()},
        {"PNG, a damaged profile", OutputFormat::Png, DecodePng, Icc, std::vector<std::uint8_t>(200, 7)},
        {"PNG, XMP with a zero byte",
         OutputFormat::Png,
         DecodePng,
         Xmp,
         {xmpWithAZero.begin(), xmpWithAZero.end()}},
        {"AVIF, EXIF not led by its byte-order mark", OutputFormat::Avif, DecodeAvif, Exif,
         exifAfterItsJpegSignature},
        {"JPEG XL, a CMYK profile", OutputFormat::Jxl, DecodeJxl, Icc, test::CmykProfile()},
        {"JPEG XL, a damaged profile", OutputFormat::Jxl, DecodeJxl, Icc, std::vector<std::uint8_t>(200, 7)},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const PictureMetadata photo = Photo();
        PictureMetadata written = photo;
        (row.spoiled == Icc ? written.icc : row.spoiled == Exif ? written.exif : written.xmp) = row.value;
        PictureMetadata read;
        const Raster decoded =
            row.decode(EncodePicture(Scene(16, 16), {.format = row.format}, &written), &read);
        EXPECT_EQ(decoded.Width(), 16);
        EXPECT_EQ(read.icc, row.spoiled == Icc ? std::vector<std::uint8_t>() : photo.icc);
        EXPECT_EQ(read.exif, row.spoiled == Exif ? std::vector<std::uint8_t>() : photo.exif);
        EXPECT_EQ(read.xmp, row.spoiled == Xmp ? std::vector<std::uint8_t>() : photo.xmp);
    }
}

// Other writers put the metadata boxes after the codestream; the decoder reads them there too.
TEST(JxlMetadataBoxesTest, AreReadAfterTheCodestreamToo)
{
    const PictureMetadata written = Photo();
    const EncodedPicture file =
        EncodePicture(Scene(16, 16), {.format = OutputFormat::Jxl, .lossless = true}, &written);
    EncodedPicture codestreamFirst, metadataBoxes;
    for (std::size_t at = 0; at + 8 <= file.size();) {
        const std::size_t size = std::size_t{file[at]} << 24 | std::size_t{file[at + 1]} << 16 |
                                 std::size_t{file[at + 2]} << 8 | file[at + 3];
        ASSERT_GE(size, 8u) << "a box whose size is not in its first four bytes";
        const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               file.begin() + static_cast<std::ptrdiff_t>(at + 8));
        EncodedPicture& target = type == "Exif" || type == "xml " ? metadataBoxes : codestreamFirst;
        target.insert(target.end(), file.begin() + static_cast<std::ptrdiff_t>(at),
                      file.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    }
    ASSERT_FALSE(metadataBoxes.empty());
    codestreamFirst.insert(codestreamFirst.end(), metadataBoxes.begin(), metadataBoxes.end());
    PictureMetadata read;
    EXPECT_EQ(Samples(DecodeJxl(codestreamFirst, &read)), Samples(Scene(16, 16)));
    EXPECT_EQ(read.exif, written.exif);
    EXPECT_EQ(read.xmp, written.xmp);
}

TEST(EncodersLimitsTest, WebpRefusesASideOverItsLimitWithAClearMessage)
{
    try {
        EncodePicture(Raster(16384, 1), {.format = OutputFormat::Webp}, nullptr);
        ADD_FAILURE() << "encoded";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("16383"), std::string::npos) << error.what();
    }
    EXPECT_EQ(DecodeWebp(EncodePicture(Scene(16383, 2), {.format = OutputFormat::Webp}, nullptr)).Width(),
              16383);
}

}  // namespace
}  // namespace selvane

// Colour profiles through lcms2: conversions to sRGB agree with lcms2's own transicc, and
// profiles that cannot be used leave the pixels alone.
#include "engine/colour/ColourProfile.h"
#include "engine/codec/PictureLoader.h"
#include "PhotoFixtures.h"
#include "PictureFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace selvane {
namespace {

Raster Patch(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    Raster raster(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* pixel = raster.Row(y) + 3 * x;
            pixel[0] = blue, pixel[1] = green, pixel[2] = red;
        }
    return raster;
}

TEST(ConvertToSrgb, AgreesWithTransiccWithinOneLevel)
{
    // transicc -i adobe.icc -o '*sRGB' -t 0 -n, with adobe.icc saved from AdobeRgbProfile():
    //   200 50 30 -> 232.1946 46.4264 22.3938     30 160 60 -> -429.2206 161.4862 46.5037
    //   40 60 200 -> 20.5190 57.4244 204.8445     128 128 128 -> 129.0312 129.0301 129.0295
    struct Patch {
        std::uint8_t in[3];
        double out[3];
    };
    const Patch patches[] = {{{200, 50, 30}, {232.1946, 46.4264, 22.3938}},
                             {{30, 160, 60}, {0, 161.4862, 46.5037}},
                             {{40, 60, 200}, {20.5190, 57.4244, 204.8445}},
                             {{128, 128, 128}, {129.0312, 129.0301, 129.0295}}};
    const test::Bytes adobe = test::AdobeRgbProfile();
    for (const auto& [in, out] : patches) {
        Raster raster = selvane::Patch(in[0], in[1], in[2]);
        ASSERT_TRUE(ConvertToSrgb(raster, adobe));
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(raster.Row(1)[9 + 2 - channel], out[channel], 1.0)
                << int{in[0]} << " " << int{in[1]} << " " << int{in[2]} << ", channel " << channel;
    }
}

TEST(ConvertToSrgb, LeavesThePixelsAloneWithAProfileItCannotUse)
{
    test::Bytes damaged = test::AdobeRgbProfile();
    damaged.resize(damaged.size() / 3);
    const test::Bytes garbage(200, 0x5a);
    for (const test::Bytes& profile : {damaged, garbage, test::CmykProfile(), test::Bytes{}}) {
        Raster raster = Patch(200, 50, 30);
        EXPECT_FALSE(ConvertToSrgb(raster, profile));
        EXPECT_EQ(raster.Row(0)[2], 200);
        EXPECT_EQ(raster.Row(0)[0], 30);
    }
    EXPECT_TRUE(IsRgbProfile(test::AdobeRgbProfile()));
    EXPECT_FALSE(IsRgbProfile(test::CmykProfile()));
    EXPECT_FALSE(IsRgbProfile(damaged));
}

// Adobe's CMYK JPEGs store inverted inks; with an embedded profile the inks go through it.
TEST(CmykJpeg, WithAProfileIsConvertedThroughIt)
{
    const test::Bytes profile = test::CmykProfile();
    struct Ink {
        std::uint8_t c, m, y, k;
    };
    const Ink inks[] = {{0, 0, 0, 0}, {0, 0, 0, 255}, {40, 200, 120, 30}};
    cmsHPROFILE cmyk = cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM reference = cmsCreateTransform(cmyk, TYPE_CMYK_8, srgb, TYPE_BGR_8, INTENT_PERCEPTUAL, 0);
    ASSERT_NE(reference, nullptr);
    for (const Ink& ink : inks) {
        const std::uint8_t stored[4] = {
            static_cast<std::uint8_t>(255 - ink.c), static_cast<std::uint8_t>(255 - ink.m),
            static_cast<std::uint8_t>(255 - ink.y), static_cast<std::uint8_t>(255 - ink.k)};
        const test::JpegFixture fixture{.colourSpace = JCS_CMYK,
                                        .components = 4,
                                        .samples = test::Repeated({stored, stored + 4}, 64),
                                        .icc = profile};
        PictureMetadata metadata;
        const Raster decoded = DecodeJpeg(fixture.Bytes(), &metadata);
        const std::uint8_t plain[4] = {ink.c, ink.m, ink.y, ink.k};
        std::uint8_t expected[3];
        cmsDoTransform(reference, plain, expected, 1);
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(decoded.Row(3)[12 + channel], expected[channel], 2)
                << int{ink.c} << " " << int{ink.m} << " " << int{ink.y} << " " << int{ink.k};
        // The pixels are sRGB now: the printer's profile must not follow them.
        EXPECT_TRUE(metadata.icc.empty());
    }
    cmsDeleteTransform(reference);
    cmsCloseProfile(srgb);
    cmsCloseProfile(cmyk);
    // Paper with no ink is white, whatever the profile does with inks.
    const std::uint8_t paper[4] = {255, 255, 255, 255};
    const Raster white = DecodeJpeg(test::JpegFixture{.colourSpace = JCS_CMYK,
                                                      .components = 4,
                                                      .samples = test::Repeated({paper, paper + 4}, 64),
                                                      .icc = profile}
                                        .Bytes());
    EXPECT_GE(white.Row(0)[0], 250);
}

}  // namespace
}  // namespace selvane

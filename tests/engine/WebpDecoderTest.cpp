// The first frame of an animated WebP lies at its offset on the canvas, and the canvas
// around it takes the background colour of the ANIM chunk, as a GIF's takes its own.
#include "engine/codec/PictureLoader.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace selvane {
namespace {

std::array<std::uint8_t, 3> Bgr(const Raster& picture, int x, int y)
{
    const std::uint8_t* pixel = picture.Row(y) + 3 * x;
    return {pixel[0], pixel[1], pixel[2]};
}

TEST(WebpAnimation, FirstFrameAtItsOffsetOnTheBackground)
{
    // A 114 x 75 canvas with background red 40, green 90, blue 200; the first frame is a
    // lossless 57 x 38 picture at (20, 10) whose corner pixels are known.
    const Raster picture =
        LoadPicture(std::string(SELVANE_TESTDATA_DIR) + "/webp/derived/anim-first-frame-inside-canvas.webp");
    ASSERT_EQ(picture.Width(), 114);
    ASSERT_EQ(picture.Height(), 75);
    const std::array<std::uint8_t, 3> background{200, 90, 40};
    EXPECT_EQ(Bgr(picture, 0, 0), background);
    EXPECT_EQ(Bgr(picture, 19, 10), background);
    EXPECT_EQ(Bgr(picture, 20, 9), background);
    EXPECT_EQ(Bgr(picture, 20, 10), (std::array<std::uint8_t, 3>{45, 47, 48}));
    EXPECT_EQ(Bgr(picture, 76, 47), (std::array<std::uint8_t, 3>{40, 48, 41}));
    EXPECT_EQ(Bgr(picture, 77, 47), background);
    EXPECT_EQ(Bgr(picture, 76, 48), background);
    EXPECT_EQ(Bgr(picture, 113, 74), background);
}

}  // namespace
}  // namespace selvane

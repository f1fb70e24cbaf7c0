// Every EXIF orientation, on a 3 x 2 picture whose pixels are all different: where each
// pixel went, written out as a viewer shows the picture.
#include "engine/photo/Orientation.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace selvane {
namespace {

// Rows of letters, "/" between rows; letter i stands for the colour (i, 2i, 3i).
Raster Letters(const std::string& rows)
{
    const int width = static_cast<int>(rows.find('/'));
    const int height = static_cast<int>(rows.size() + 1) / (width + 1);
    Raster raster(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = rows[static_cast<std::size_t>(y * (width + 1) + x)] - 'A' + 1;
            std::uint8_t* pixel = raster.Row(y) + 3 * x;
            pixel[0] = static_cast<std::uint8_t>(i);
            pixel[1] = static_cast<std::uint8_t>(2 * i);
            pixel[2] = static_cast<std::uint8_t>(3 * i);
        }
    return raster;
}

std::string AsLetters(const Raster& raster)
{
    std::string rows;
    for (int y = 0; y < raster.Height(); ++y) {
        if (y > 0) rows += '/';
        for (int x = 0; x < raster.Width(); ++x) rows += static_cast<char>('A' - 1 + raster.Row(y)[3 * x]);
    }
    return rows;
}

struct OrientationCase {
    const char* name;
    int orientation;
    const char* shown;
};

class OrientedTest : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(OrientedTest, ShowsThePictureAsTheCameraHeldIt)
{
    const Raster turned = Oriented(Letters("ABC/DEF"), GetParam().orientation);
    EXPECT_EQ(AsLetters(turned), GetParam().shown);
    EXPECT_EQ(Letters(GetParam().shown).Data()[0], turned.Data()[0]);  // every channel moved together
}

INSTANTIATE_TEST_SUITE_P(Exif, OrientedTest,
                         ::testing::Values(OrientationCase{"AsStored", 1, "ABC/DEF"},
                                           OrientationCase{"MirroredLeftToRight", 2, "CBA/FED"},
                                           OrientationCase{"HalfTurn", 3, "FED/CBA"},
                                           OrientationCase{"MirroredTopToBottom", 4, "DEF/ABC"},
                                           OrientationCase{"MainDiagonal", 5, "AD/BE/CF"},
                                           OrientationCase{"QuarterClockwise", 6, "DA/EB/FC"},
                                           OrientationCase{"OtherDiagonal", 7, "FC/EB/DA"},
                                           OrientationCase{"QuarterAnticlockwise", 8, "CF/BE/AD"},
                                           OrientationCase{"OutOfRangeIsAsStored", 9, "ABC/DEF"}),
                         test::CaseName);

TEST(Oriented, TurnsAPictureLargerThanOneTileExactly)
{
    // 150 x 70 crosses the tiles on both sides; a quarter turn and back gives every pixel back.
    const auto pattern = [] {
        Raster raster(150, 70);
        for (int y = 0; y < raster.Height(); ++y)
            for (int x = 0; x < raster.Width() * 3; ++x)
                raster.Row(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 13);
        return raster;
    };
    const Raster stored = pattern();
    const Raster back = Oriented(Oriented(pattern(), 6), 8);
    ASSERT_EQ(back.Width(), 150);
    ASSERT_EQ(back.Height(), 70);
    for (int y = 0; y < stored.Height(); ++y)
        ASSERT_EQ(std::memcmp(back.Row(y), stored.Row(y), stored.Stride()), 0) << "row " << y;
}

}  // namespace
}  // namespace selvane

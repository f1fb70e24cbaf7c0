// A HEIF picture's rotation is part of the picture: libheif applies it, and the size the
// decoder reports, checked against the pixel cap, is the rotated one. A grid's own canvas size
// is held to the size the file declares before libheif allocates it.
#include "engine/codec/PictureLoader.h"

#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace selvane {
namespace {

TEST(HeifRotation, TheRotationPropertyTurnsThePicture)
{
    // The same coded picture, once as stored (114 x 75) and once with an irot property of
    // 90 degrees anticlockwise added to the primary item.
    const std::string folder = std::string(SELVANE_TESTDATA_DIR) + "/heif/derived/";
    const Raster stored = LoadPicture(folder + "hevc-8bit.heic");
    const Raster turned = LoadPicture(folder + "hevc-8bit-irot-90.heic");
    ASSERT_EQ(turned.Width(), stored.Height());
    ASSERT_EQ(turned.Height(), stored.Width());
    // Anticlockwise: the stored picture's right column becomes the top row.
    for (int y = 0; y < turned.Height(); ++y)
        for (int x = 0; x < turned.Width(); ++x)
            ASSERT_EQ(std::memcmp(turned.Row(y) + 3 * x, stored.Row(x) + 3 * (stored.Width() - 1 - y), 3), 0)
                << "pixel " << x << ", " << y;
}

struct GridCase {
    const char* name;
    const char* file;
    const char* message;
};

class HeifGridTest : public ::testing::TestWithParam<GridCase> {};

// hevc-8bit.heic is a one-tile grid declared 114 x 75; hevc-10bit.heic one declared 57 x 38.
// Their grid data here ask for canvases of gigabytes, which must be refused before libheif
// allocates them, not allocated and then compared with the picture.
TEST_P(HeifGridTest, ACanvasOtherThanTheDeclaredSizeIsRefusedBeforeItIsAllocated)
{
    const std::string path = std::string(SELVANE_TESTDATA_DIR) + "/heif/derived/" + GetParam().file;
    try {
        LoadPicture(path);
        FAIL() << "decoded";
    } catch (const DecodeError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, HeifGridTest,
    ::testing::Values(GridCase{"Square", "grid-output-30000x30000.heic",
                               "HEIF: a grid of 30000 x 30000 pixels where the file declares 114 x 75"},
                      // Found by fuzz_heif: declared tall and thin, so a limit on each side
                      // alone would let the canvas through.
                      GridCase{"UnderASideLimit", "grid-output-16436x9984-declared-52x9307.heic",
                               "HEIF: a grid of 16436 x 9984 pixels where the file declares 52 x 9307"}),
    test::CaseName);

}  // namespace
}  // namespace selvane

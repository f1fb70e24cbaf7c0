// A HEIF picture's rotation is part of the picture: libheif applies it, and the size the
// decoder reports, checked against the pixel cap, is the rotated one. A grid's own canvas size
// is held to the size the file declares before libheif allocates it.
#include "engine/codec/PictureLoader.h"

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

TEST(HeifGrid, ACanvasLargerThanTheDeclaredSizeIsRefusedBeforeItIsAllocated)
{
    // hevc-8bit.heic is a one-tile grid declared 114 x 75; here its grid data asks for a
    // 30000 x 30000 canvas (2.7 GB of planes), which must be refused, not allocated and then
    // compared with the picture.
    const std::string path = std::string(SELVANE_TESTDATA_DIR) + "/heif/derived/grid-output-30000x30000.heic";
    try {
        LoadPicture(path);
        FAIL() << "decoded";
    } catch (const DecodeError& error) {
        EXPECT_NE(std::string(error.what()).find("exceeds the maximum image size"), std::string::npos)
            << error.what();
    }
}

}  // namespace
}  // namespace selvane

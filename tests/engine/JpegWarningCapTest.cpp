// Damaged compressed data is a warning to libjpeg, which resynchronises and goes on; the
// decoder counts those warnings and gives up past kMaxJpegWarnings, so that a file of
// nothing but damage cannot keep it resynchronising for long.
#include "engine/Decoders.h"
#include "engine/JpegErrorHandler.h"
#include "PictureFixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace selvane {
namespace {

using testing::FileBytes;
using testing::JpegFixture;

// A grey picture one block high, with a restart marker after every block, each of whose
// markers is renumbered to RST4: every restart then costs libjpeg at least one warning.
FileBytes WithDamagedRestarts(int blocks)
{
    FileBytes bytes = JpegFixture{.width = 8 * blocks,
                                  .height = 8,
                                  .colourSpace = JCS_GRAYSCALE,
                                  .components = 1,
                                  .samples = FileBytes(static_cast<std::size_t>(64 * blocks), 90),
                                  .restartInterval = 1}
                          .Bytes();
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] >= 0xD0 && bytes[i + 1] <= 0xD7) bytes[i + 1] = 0xD4;
    return bytes;
}

TEST(JpegWarningCapTest, AFewDamagedRestartsStillDecode)
{
    const Raster picture = DecodeJpeg(WithDamagedRestarts(100));
    EXPECT_EQ(picture.Width(), 800);
    EXPECT_EQ(picture.Height(), 8);
}

TEST(JpegWarningCapTest, DamageBeyondTheCapIsRefused)
{
    static_assert(kMaxJpegWarnings < 2000);
    try {
        DecodeJpeg(WithDamagedRestarts(2000));
        ADD_FAILURE() << "decoded";
    } catch (const DecodeError& error) {
        EXPECT_EQ(std::string(error.what()), "JPEG: too many errors in the compressed data");
    }
}

}  // namespace
}  // namespace selvane

// What a small JPEG file can make the decoder spend. Damaged compressed data is a warning
// to libjpeg, which resynchronises and goes on; the decoder gives up past kMaxJpegWarnings
// warnings, so that a file of nothing but damage cannot keep it busy for long. And a
// progressive header that asks for whole-picture buffers of gigabytes is refused before
// they are allocated.
#include "engine/codec/Decoders.h"
#include "engine/codec/JpegErrorHandler.h"
#include "PictureFixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace selvane {
namespace {

using test::FileBytes;
using test::JpegFixture;

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

// A progressive file whose frame header claims 16384 x 16384 pixels (the pixel cap) with
// every component at full resolution: libjpeg would need 1.5 GiB of coefficients before
// reading any data.
FileBytes ProgressiveFullResolutionHeader()
{
    std::vector<jpeg_scan_info> scans(1);
    scans[0].comps_in_scan = 3;
    for (int c = 0; c < 3; ++c) scans[0].component_index[c] = c;
    scans[0].Se = 0;
    for (int c = 0; c < 3; ++c) {
        jpeg_scan_info ac{};
        ac.comps_in_scan = 1;
        ac.component_index[0] = c;
        ac.Ss = 1;
        ac.Se = 63;
        scans.push_back(ac);
    }
    FileBytes bytes =
        JpegFixture{.width = 16, .height = 16, .samples = FileBytes(16 * 16 * 3, 90), .scans = scans}.Bytes();
    for (std::size_t i = 2; i + 18 < bytes.size(); i += 2 + (bytes[i + 2] << 8 | bytes[i + 3])) {
        if (bytes[i] != 0xFF || bytes[i + 1] != 0xC2) continue;  // SOF2
        for (const std::size_t side : {i + 5, i + 7}) {
            bytes[side] = 0x40;  // 16384, big-endian
            bytes[side + 1] = 0x00;
        }
        for (std::size_t c = 0; c < 3; ++c) bytes[i + 11 + 3 * c] = 0x11;  // 1 x 1 sampling
        return bytes;
    }
    ADD_FAILURE() << "no progressive frame header";
    return bytes;
}

TEST(JpegMemoryCapTest, WholePictureBuffersBeyondTheCapAreRefusedUnallocated)
{
    EXPECT_THROW(DecodeJpeg(ProgressiveFullResolutionHeader()), DecodeError);
}

}  // namespace
}  // namespace selvane

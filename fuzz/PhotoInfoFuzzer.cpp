// libFuzzer target for a picture's metadata: EXIF and XMP blocks through exiv2 and our
// rewriting, into a JPEG file and back, and a colour profile through lcms2. The input is a
// flags byte, the EXIF's length and the XMP's (two bytes each, big-endian), the EXIF, the
// XMP, and the profile in what remains.
//
// What must hold: reading fails only with PhotoInfoError; what PhotoInfoForOutput gives is
// written as a JPEG and reads back, EXIF and XMP as they were given, and that EXIF reads
// without an error; a profile converts or is refused without touching the pixels.
#include "engine/codec/JpegEncoder.h"
#include "engine/codec/PictureLoader.h"
#include "engine/colour/ColourProfile.h"
#include "engine/photo/PhotoInfo.h"
#include "FuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace selvane::fuzz {
namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "photo information: %s\n", what);
    std::abort();
}

std::size_t Length(const std::uint8_t* at)
{
    return std::size_t{at[0]} << 8 | at[1];
}

void CheckProfile(ByteSpan icc)
{
    Raster raster(2, 2);
    std::memset(raster.Data(), 0x40, raster.Stride() * 2);
    if (!ConvertToSrgb(raster, icc) && raster.Data()[0] != 0x40) Fail("a refused profile changed the pixels");
    IsRgbProfile(icc);
    const CmykToSrgb cmyk(icc, true);
    if (cmyk) {
        const std::uint8_t inks[8] = {0, 10, 200, 255, 255, 0, 0, 30};
        cmyk.ConvertRow(inks, 2, raster.Row(0));
    }
}

}  // namespace
}  // namespace selvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace selvane;
    using namespace selvane::fuzz;
    if (size < 5) return 0;
    const std::uint8_t flags = data[0];
    const std::size_t exifLength = std::min(Length(data + 1), size - 5);
    const std::size_t xmpLength = std::min(Length(data + 3), size - 5 - exifLength);
    const std::uint8_t* exif = data + 5;
    const std::uint8_t* xmp = exif + exifLength;
    PictureMetadata source;
    source.exif.assign(exif, xmp);
    source.xmp.assign(xmp, xmp + xmpLength);
    CheckProfile({xmp + xmpLength, data + size});

    try {
        ExifOrientation(source.exif);
    } catch (const PhotoInfoError&) {}
    PictureMetadata output;
    try {
        OutputPhotoInfo info = PhotoInfoForOutput(source, 1 + (flags & 0x3f), 3, (flags & 0x40) != 0,
                                                  (flags & 0x80) != 0, kMaxJpegMetadataBlock);
        output.exif = std::move(info.exif);
        output.xmp = std::move(info.xmp);
    } catch (const PhotoInfoError&) {
        return 0;
    }
    static const FuzzFolder folder("selvane-fuzz-photo");
    const std::string path = folder.Path() + "out.jpg";
    WriteJpegFile(Raster(1, 1), 50, path, &output);
    PictureMetadata back;
    LoadPicture(path, &back);
    if (back.exif != output.exif || back.xmp != output.xmp)
        Fail("the JPEG does not give back what was written");
    try {
        ExifOrientation(back.exif);
    } catch (const PhotoInfoError&) {
        Fail("our own EXIF does not read");
    }
    return 0;
}

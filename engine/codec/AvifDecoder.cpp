// AVIF through libavif (dav1d decodes the AV1 data): the primary image, or the first
// frame of an image sequence, at 8, 10 or 12 bits, converted by libavif to 8-bit blue,
// green, red straight into the raster. The size comes from the container (the ispe
// property) and is checked against the pixel cap after parsing, before any AV1 data is
// decoded; libavif's own size limit is set to the same cap, which also bounds the AV1
// decoder's frame size, and its dimension limit stays at its default (32768 per side).
//
// - More than 8 bits are reduced by libavif's own conversion, which rounds; libyuv (which
//   libavif may use for speed) is kept out of those conversions, since its 10-bit paths
//   shift bits away.
// - Alpha is ignored: the colour planes alone are converted.
// - Decoding is single-threaded: the batch already runs one picture per core.
// - The metadata are the ICC profile, the EXIF and the XMP libavif reads, and the turn the
//   rotation and mirror properties describe, which is not applied here: the job turns the
//   picture as it turns a JPEG by its EXIF orientation.
#include "engine/codec/Decoders.h"
#include "engine/codec/ExifPayload.h"
#include "engine/codec/PictureSize.h"

#include <memory>
#include <new>
#include <string>

#include <avif/avif.h>

namespace selvane {

namespace {

struct AvifDecoderFree {
    void operator()(avifDecoder* decoder) const noexcept { avifDecoderDestroy(decoder); }
};

void Check(const avifDecoder& decoder, avifResult result, const char* step)
{
    // Out of memory is refused like any other failure: the sizes libavif allocates for come
    // from the file.
    if (result == AVIF_RESULT_OK) return;
    std::string message = std::string("AVIF: ") + step + ": " + avifResultToString(result);
    if (decoder.diag.error[0] != '\0') message += std::string(" (") + decoder.diag.error + ")";
    throw DecodeError(message);
}

// irot (quarter turns anticlockwise), then imir (0: top and bottom exchanged, 1: left and
// right), as one EXIF orientation.
int Orientation(const avifImage& image)
{
    static constexpr int kTurned[4][3] = {{1, 4, 2}, {8, 5, 7}, {3, 2, 4}, {6, 7, 5}};
    const int quarters = image.transformFlags & AVIF_TRANSFORM_IROT ? image.irot.angle & 3 : 0;
    const int mirror = image.transformFlags & AVIF_TRANSFORM_IMIR ? 1 + (image.imir.mode & 1) : 0;
    return kTurned[quarters][mirror];
}

void CopyMetadata(const avifImage& image, PictureMetadata& metadata)
{
    metadata.orientation = Orientation(image);
    if (image.icc.size > 0) metadata.icc.assign(image.icc.data, image.icc.data + image.icc.size);
    CopyExifPayload(image.exif.data, image.exif.size, metadata.exif);
    if (image.xmp.size > 0) metadata.xmp.assign(image.xmp.data, image.xmp.data + image.xmp.size);
}

}  // namespace

Raster DecodeAvif(ByteSpan data, PictureMetadata* metadata)
{
    const std::unique_ptr<avifDecoder, AvifDecoderFree> decoder(avifDecoderCreate());
    if (!decoder) throw std::bad_alloc();
    decoder->maxThreads = 1;
    decoder->imageSizeLimit = static_cast<std::uint32_t>(kMaxPicturePixels);
    decoder->ignoreExif = metadata ? AVIF_FALSE : AVIF_TRUE;
    decoder->ignoreXMP = metadata ? AVIF_FALSE : AVIF_TRUE;
    Check(*decoder, avifDecoderSetIOMemory(decoder.get(), data.data(), data.size()), "cannot read");
    Check(*decoder, avifDecoderParse(decoder.get()), "damaged file");
    CheckPictureSize(decoder->image->width, decoder->image->height, "AVIF");

    Check(*decoder, avifDecoderNextImage(decoder.get()), "damaged image data");
    const avifImage* image = decoder->image;
    CheckPictureSize(image->width, image->height, "AVIF");
    if (metadata) CopyMetadata(*image, *metadata);
    Raster raster(static_cast<int>(image->width), static_cast<int>(image->height));
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image);
    rgb.format = AVIF_RGB_FORMAT_BGR;
    rgb.depth = 8;
    rgb.chromaUpsampling = AVIF_CHROMA_UPSAMPLING_BEST_QUALITY;
    rgb.avoidLibYUV = image->depth > 8 ? AVIF_TRUE : AVIF_FALSE;
    rgb.pixels = raster.Data();
    rgb.rowBytes = static_cast<std::uint32_t>(raster.Stride());
    Check(*decoder, avifImageYUVToRGB(image, &rgb), "cannot convert to RGB");
    return raster;
}

}  // namespace selvane

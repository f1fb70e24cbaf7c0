// AVIF output through libavif, encoding AV1 with libaom.
//
// - The pixels go to 8-bit YUV 4:2:0, full range, with the BT.601 matrix and the sRGB
//   primaries and transfer in the colour description. 4:2:0 rather than 4:4:4 because the
//   AV1 Main profile, which every AVIF decoder (hardware ones too) supports, holds 4:2:0
//   only; photographs lose nothing visible at this subsampling (JPEG output has it too), and
//   the files are smaller.
// - Quality: the slider's quality q (5 .. 95) becomes the quantizer
//   (100 - q) * 63 / 100, rounded to nearest, used as both the smallest and the largest
//   quantizer (0 best, 63 worst): 60 at q = 5, 16 at the default 74, 3 at q = 95. This is the
//   scale later libavif versions give their 0 .. 100 quality setting, so the numbers mean the
//   same there.
// - Speed 8 of libavif's 0 (slowest) .. 10 (fastest), on one thread: a 12-megapixel photo
//   took 1.5 s at 8, 1.0 s at 9 and 8 s at 6 (whose file was a sixth smaller), with the
//   machine busy.
// - The metadata go in as the colour profile (colr) and the Exif and XMP items. EXIF that
//   does not start with a TIFF byte-order mark is left out: libavif would refuse the whole
//   picture for it. libavif takes any ICC profile as bytes.
#include "engine/codec/Encoders.h"

#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include <avif/avif.h>

namespace selvane {

namespace {

constexpr int kAvifSpeed = 8;

struct ImageFree {
    void operator()(avifImage* image) const noexcept { avifImageDestroy(image); }
};
struct EncoderFree {
    void operator()(avifEncoder* encoder) const noexcept { avifEncoderDestroy(encoder); }
};
struct Output {
    avifRWData data = AVIF_DATA_EMPTY;
    Output() = default;
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() { avifRWDataFree(&data); }
};

void Check(avifResult result, const char* step, const avifEncoder* encoder = nullptr)
{
    if (result == AVIF_RESULT_OK) return;
    if (result == AVIF_RESULT_OUT_OF_MEMORY) throw std::bad_alloc();
    std::string message = std::string("AVIF: ") + step + ": " + avifResultToString(result);
    if (encoder && encoder->diag.error[0] != '\0') message += std::string(" (") + encoder->diag.error + ")";
    throw std::runtime_error(message);
}

int Quantizer(int quality)
{
    const int clamped = quality < 0 ? 0 : quality > 100 ? 100 : quality;
    return ((100 - clamped) * AVIF_QUANTIZER_WORST_QUALITY + 50) / 100;
}

bool StartsWithTiffHeader(const std::vector<std::uint8_t>& exif)
{
    return exif.size() >= 4 &&
           (std::memcmp(exif.data(), "II*\0", 4) == 0 || std::memcmp(exif.data(), "MM\0*", 4) == 0);
}

void SetMetadata(avifImage& image, const PictureMetadata& metadata)
{
    if (!metadata.icc.empty()) avifImageSetProfileICC(&image, metadata.icc.data(), metadata.icc.size());
    if (StartsWithTiffHeader(metadata.exif))
        avifImageSetMetadataExif(&image, metadata.exif.data(), metadata.exif.size());
    if (!metadata.xmp.empty()) avifImageSetMetadataXMP(&image, metadata.xmp.data(), metadata.xmp.size());
}

}  // namespace

EncodedPicture EncodeAvif(const Raster& raster, const EncodeSettings& settings,
                          const PictureMetadata* metadata)
{
    if (raster.Empty()) throw std::runtime_error("AVIF: empty picture");
    const std::unique_ptr<avifImage, ImageFree> image(
        avifImageCreate(static_cast<std::uint32_t>(raster.Width()),
                        static_cast<std::uint32_t>(raster.Height()), 8, AVIF_PIXEL_FORMAT_YUV420));
    if (!image) throw std::bad_alloc();
    image->yuvRange = AVIF_RANGE_FULL;
    image->colorPrimaries = AVIF_COLOR_PRIMARIES_BT709;
    image->transferCharacteristics = AVIF_TRANSFER_CHARACTERISTICS_SRGB;
    image->matrixCoefficients = AVIF_MATRIX_COEFFICIENTS_BT601;

    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image.get());
    rgb.format = AVIF_RGB_FORMAT_BGR;
    rgb.depth = 8;
    rgb.chromaDownsampling = AVIF_CHROMA_DOWNSAMPLING_BEST_QUALITY;
    // libavif only reads the pixels; its pixel pointer is just not const.
    rgb.pixels = const_cast<std::uint8_t*>(raster.Data());
    rgb.rowBytes = static_cast<std::uint32_t>(raster.Stride());
    Check(avifImageRGBToYUV(image.get(), &rgb), "cannot convert to YUV");
    if (metadata) SetMetadata(*image, *metadata);

    const std::unique_ptr<avifEncoder, EncoderFree> encoder(avifEncoderCreate());
    if (!encoder) throw std::bad_alloc();
    encoder->codecChoice = AVIF_CODEC_CHOICE_AOM;
    encoder->maxThreads = 1;
    encoder->speed = kAvifSpeed;
    encoder->minQuantizer = encoder->maxQuantizer = Quantizer(settings.quality);
    Output output;
    Check(avifEncoderWrite(encoder.get(), image.get(), &output.data), "cannot encode", encoder.get());
    return EncodedPicture(output.data.data, output.data.data + output.data.size);
}

}  // namespace selvane

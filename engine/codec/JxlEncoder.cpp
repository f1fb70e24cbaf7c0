// JPEG XL output through libjxl 0.7, on the calling thread alone (no parallel runner).
//
// - Quality: lossy at the distance the slider's quality q (5 .. 95) gives on the scale of
//   libjxl's own cjxl tool (libjxl 0.7 has no library function for it):
//   0.1 + (100 - q) * 0.09 from q = 30 up (0.55 at q = 95, 2.44 at the default 74, 6.4 at
//   q = 30), 6.4 + 2.5^((30 - q) / 5) / 6.25 below, held to libjxl's largest distance, 15,
//   which q = 8 and below reach. Lossless when asked, keeping the original colour space.
// - Effort, of libjxl's 1 (fastest) .. 9 (slowest), measured on one thread on a
//   12-megapixel photo with the machine busy: 7 (libjxl's default) for lossy pictures, about
//   7 s, whose files look clearly better at the same size than those of the faster efforts
//   (effort 3: 1.3 s, 1.8 dB less PSNR); 2 for lossless ones, 2.9 s and 8.1 MB, where 3 took
//   4.9 s for 9.3 MB and 4 took 24 s for 7.2 MB.
// - The ICC profile describes the pixels when there is one; without one, or when it is not
//   an RGB profile that lcms2 converts to sRGB, or when libjxl refuses it, the pixels are
//   said to be sRGB and the profile is left out. (libjxl 0.7 takes any profile, then
//   aborts the process when lcms2, which it converts with, cannot convert from it.)
// - The EXIF goes in an "Exif" box (its TIFF structure right after the four-byte offset 0),
//   the XMP in an "xml " box, both uncompressed.
#include "engine/codec/Encoders.h"
#include "engine/colour/ColourProfile.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include <jxl/encode.h>

namespace selvane {

namespace {

constexpr int kLossyEffort = 7;
constexpr int kLosslessEffort = 2;
constexpr float kMaxDistance = 15;
constexpr std::size_t kFirstOutputBytes = std::size_t{1} << 16;

struct EncoderFree {
    void operator()(JxlEncoder* encoder) const noexcept { JxlEncoderDestroy(encoder); }
};

[[noreturn]] void Fail(JxlEncoder* encoder, const char* step)
{
    const JxlEncoderError error = JxlEncoderGetError(encoder);
    if (error == JXL_ENC_ERR_OOM) throw std::bad_alloc();
    const char* reason = error == JXL_ENC_ERR_BAD_INPUT       ? "bad input"
                         : error == JXL_ENC_ERR_NOT_SUPPORTED ? "not supported"
                         : error == JXL_ENC_ERR_API_USAGE     ? "wrong use of the library"
                                                              : "encoder failed";
    throw std::runtime_error(std::string("JPEG XL: ") + step + ": " + reason);
}

void Check(JxlEncoder* encoder, JxlEncoderStatus status, const char* step)
{
    if (status != JXL_ENC_SUCCESS) Fail(encoder, step);
}

float Distance(int quality)
{
    const double q = quality;
    const double distance = q >= 30 ? 0.1 + (100 - q) * 0.09 : 6.4 + std::pow(2.5, (30 - q) / 5) / 6.25;
    return std::clamp(static_cast<float>(distance), 0.0f, kMaxDistance);
}

// libjxl takes red, green, blue only.
std::vector<std::uint8_t> RgbSamples(const Raster& raster)
{
    std::vector<std::uint8_t> rgb(raster.Stride() * static_cast<std::size_t>(raster.Height()));
    const std::uint8_t* from = raster.Data();
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = from[i + 2];
        rgb[i + 1] = from[i + 1];
        rgb[i + 2] = from[i];
    }
    return rgb;
}

bool Convertible(const std::vector<std::uint8_t>& icc)
{
    Raster probe(1, 1);
    std::fill_n(probe.Data(), 3, std::uint8_t{0});
    return ConvertToSrgb(probe, icc);
}

// The header and the colour encoding; false when libjxl refuses the profile `icc`.
bool SetUpImage(JxlEncoder* encoder, const Raster& raster, bool lossless,
                const std::vector<std::uint8_t>* icc)
{
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = static_cast<std::uint32_t>(raster.Width());
    info.ysize = static_cast<std::uint32_t>(raster.Height());
    info.bits_per_sample = 8;
    info.num_color_channels = 3;
    info.uses_original_profile = lossless ? JXL_TRUE : JXL_FALSE;
    Check(encoder, JxlEncoderSetBasicInfo(encoder, &info), "cannot take the picture's size");
    if (icc) return JxlEncoderSetICCProfile(encoder, icc->data(), icc->size()) == JXL_ENC_SUCCESS;
    JxlColorEncoding srgb;
    JxlColorEncodingSetToSRGB(&srgb, JXL_FALSE);
    Check(encoder, JxlEncoderSetColorEncoding(encoder, &srgb), "cannot set the colour encoding");
    return true;
}

void AddBoxes(JxlEncoder* encoder, const PictureMetadata& metadata)
{
    if (metadata.exif.empty() && metadata.xmp.empty()) return;
    Check(encoder, JxlEncoderUseContainer(encoder, JXL_TRUE), "cannot use the container");
    Check(encoder, JxlEncoderUseBoxes(encoder), "cannot use boxes");
    if (!metadata.exif.empty()) {
        std::vector<std::uint8_t> box(4, 0);
        box.insert(box.end(), metadata.exif.begin(), metadata.exif.end());
        Check(encoder, JxlEncoderAddBox(encoder, "Exif", box.data(), box.size(), JXL_FALSE),
              "cannot add the EXIF");
    }
    if (!metadata.xmp.empty())
        Check(encoder, JxlEncoderAddBox(encoder, "xml ", metadata.xmp.data(), metadata.xmp.size(), JXL_FALSE),
              "cannot add the XMP");
    JxlEncoderCloseBoxes(encoder);
}

void AddFrame(JxlEncoder* encoder, const Raster& raster, const EncodeSettings& settings)
{
    JxlEncoderFrameSettings* frame = JxlEncoderFrameSettingsCreate(encoder, nullptr);
    if (!frame) Fail(encoder, "cannot set up the frame");
    Check(encoder,
          JxlEncoderFrameSettingsSetOption(frame, JXL_ENC_FRAME_SETTING_EFFORT,
                                           settings.lossless ? kLosslessEffort : kLossyEffort),
          "cannot set the effort");
    if (settings.lossless) Check(encoder, JxlEncoderSetFrameLossless(frame, JXL_TRUE), "cannot set lossless");
    else
        Check(encoder, JxlEncoderSetFrameDistance(frame, Distance(settings.quality)),
              "cannot set the quality");
    const std::vector<std::uint8_t> rgb = RgbSamples(raster);
    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    Check(encoder, JxlEncoderAddImageFrame(frame, &format, rgb.data(), rgb.size()), "cannot take the pixels");
    JxlEncoderCloseInput(encoder);
}

EncodedPicture Output(JxlEncoder* encoder)
{
    EncodedPicture bytes(kFirstOutputBytes);
    std::size_t written = 0;
    for (;;) {
        std::uint8_t* next = bytes.data() + written;
        std::size_t available = bytes.size() - written;
        const JxlEncoderStatus status = JxlEncoderProcessOutput(encoder, &next, &available);
        written = static_cast<std::size_t>(next - bytes.data());
        if (status == JXL_ENC_SUCCESS) break;
        if (status != JXL_ENC_NEED_MORE_OUTPUT) Fail(encoder, "cannot encode");
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(written);
    return bytes;
}

}  // namespace

EncodedPicture EncodeJxl(const Raster& raster, const EncodeSettings& settings,
                         const PictureMetadata* metadata)
{
    if (raster.Empty()) throw std::runtime_error("JPEG XL: empty picture");
    const std::unique_ptr<JxlEncoder, EncoderFree> owner(JxlEncoderCreate(nullptr));
    if (!owner) throw std::bad_alloc();
    JxlEncoder* encoder = owner.get();
    const bool hasProfile = metadata && !metadata->icc.empty() && Convertible(metadata->icc);
    if (!SetUpImage(encoder, raster, settings.lossless, hasProfile ? &metadata->icc : nullptr)) {
        // A refused call leaves the encoder failed: start again with sRGB.
        JxlEncoderReset(encoder);
        SetUpImage(encoder, raster, settings.lossless, nullptr);
    }
    if (metadata) AddBoxes(encoder, *metadata);
    AddFrame(encoder, raster, settings);
    return Output(encoder);
}

}  // namespace selvane

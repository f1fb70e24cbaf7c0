// JPEG XL through libjxl: a bare codestream or the container, the first displayed frame
// (an animation's later frames are never decoded). The size comes from the basic header
// and is checked against the pixel cap before any frame is decoded; libjxl 0.7 has no
// size or memory limit of its own to set.
//
// - libjxl writes 8-bit red, green, blue into the raster itself; the channels are then
//   swapped in place. Deeper and floating-point pictures are reduced by libjxl, which
//   rounds to nearest; grey ones are repeated into the three channels.
// - The codestream's orientation field is not applied (libjxl is told to keep the stored
//   orientation) but passed on with the metadata, so that the job turns the picture as it
//   turns a JPEG by its EXIF orientation. So is the colour profile of the pixels libjxl
//   gives, unless it is plain sRGB.
// - Alpha is ignored: only the colour channels are asked for.
// - Decoding is single-threaded: the batch already runs one picture per core.
#include "engine/codec/Decoders.h"
#include "engine/codec/PictureSize.h"

#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <jxl/decode.h>

namespace selvane {

namespace {

struct JxlDecoderFree {
    void operator()(JxlDecoder* decoder) const noexcept { JxlDecoderDestroy(decoder); }
};

void SwapRedAndBlue(Raster& raster)
{
    std::uint8_t* pixel = raster.Data();
    const std::size_t count =
        static_cast<std::size_t>(raster.Width()) * static_cast<std::size_t>(raster.Height());
    for (std::size_t i = 0; i < count; ++i, pixel += 3) std::swap(pixel[0], pixel[2]);
}

bool IsSrgb(const JxlColorEncoding& encoding)
{
    return encoding.color_space == JXL_COLOR_SPACE_RGB && encoding.white_point == JXL_WHITE_POINT_D65 &&
           encoding.primaries == JXL_PRIMARIES_SRGB &&
           encoding.transfer_function == JXL_TRANSFER_FUNCTION_SRGB;
}

void CopyProfile(const JxlDecoder* decoder, std::vector<std::uint8_t>& icc)
{
    JxlColorEncoding encoding{};
    if (JxlDecoderGetColorAsEncodedProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &encoding) ==
            JXL_DEC_SUCCESS &&
        IsSrgb(encoding))
        return;
    std::size_t size = 0;
    if (JxlDecoderGetICCProfileSize(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &size) !=
            JXL_DEC_SUCCESS ||
        size == 0)
        return;
    icc.resize(size);
    if (JxlDecoderGetColorAsICCProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, icc.data(), size) !=
        JXL_DEC_SUCCESS)
        icc.clear();
}

}  // namespace

Raster DecodeJxl(ByteSpan data, PictureMetadata* metadata)
{
    const std::unique_ptr<JxlDecoder, JxlDecoderFree> owner(JxlDecoderCreate(nullptr));
    if (!owner) throw std::bad_alloc();
    JxlDecoder* decoder = owner.get();
    const int events = JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE | (metadata ? JXL_DEC_COLOR_ENCODING : 0);
    if (JxlDecoderSubscribeEvents(decoder, events) != JXL_DEC_SUCCESS ||
        JxlDecoderSetKeepOrientation(decoder, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder, data.data(), data.size()) != JXL_DEC_SUCCESS)
        throw DecodeError("JPEG XL: cannot set up the decoder");
    JxlDecoderCloseInput(decoder);

    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    Raster raster;
    bool sized = false;
    for (;;) {
        switch (JxlDecoderProcessInput(decoder)) {
        case JXL_DEC_BASIC_INFO: {
            JxlBasicInfo info{};
            if (JxlDecoderGetBasicInfo(decoder, &info) != JXL_DEC_SUCCESS)
                throw DecodeError("JPEG XL: damaged header");
            CheckPictureSize(info.xsize, info.ysize, "JPEG XL");
            raster = Raster(static_cast<int>(info.xsize), static_cast<int>(info.ysize));
            sized = true;
            if (metadata)
                metadata->orientation = info.orientation >= 1 && info.orientation <= 8 ? info.orientation : 1;
            break;
        }
        case JXL_DEC_COLOR_ENCODING: CopyProfile(decoder, metadata->icc); break;
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
            std::size_t size = 0;
            const std::size_t rasterBytes = raster.Stride() * static_cast<std::size_t>(raster.Height());
            if (!sized || JxlDecoderImageOutBufferSize(decoder, &format, &size) != JXL_DEC_SUCCESS ||
                size != rasterBytes ||
                JxlDecoderSetImageOutBuffer(decoder, &format, raster.Data(), size) != JXL_DEC_SUCCESS)
                throw DecodeError("JPEG XL: unexpected frame layout");
            break;
        }
        case JXL_DEC_FULL_IMAGE: SwapRedAndBlue(raster); return raster;
        case JXL_DEC_NEED_MORE_INPUT: throw DecodeError("JPEG XL: file cut short");
        case JXL_DEC_SUCCESS: throw DecodeError("JPEG XL: no frame");
        case JXL_DEC_ERROR: throw DecodeError("JPEG XL: damaged file");
        default: throw DecodeError("JPEG XL: unexpected decoder event");
        }
    }
}

}  // namespace selvane

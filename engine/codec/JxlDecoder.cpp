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
// - The EXIF and XMP are the first "Exif" and "xml " boxes (Brotli-compressed ones too),
//   each up to kMaxBoxBytes; a larger one is skipped. A still picture's boxes after the
//   codestream are read once the picture is complete; an animation's are not, since reading
//   on would decode every frame. Anything wrong after the picture only ends the search.
// - Decoding is single-threaded: the batch already runs one picture per core.
#include "engine/codec/Decoders.h"
#include "engine/codec/ExifPayload.h"
#include "engine/codec/PictureSize.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <jxl/decode.h>

namespace selvane {

namespace {

constexpr std::size_t kMaxBoxBytes = std::size_t{64} << 20;
constexpr std::size_t kFirstBoxBytes = std::size_t{1} << 16;

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

// Collects the contents of the metadata boxes as the decoder reports them.
class MetadataBoxes {
public:
    explicit MetadataBoxes(JxlDecoder* decoder) : decoder_(decoder) {}

    void OnBox()
    {
        Finish();
        JxlBoxType type;
        if (JxlDecoderGetBoxType(decoder_, type, JXL_TRUE) != JXL_DEC_SUCCESS) return;
        if (std::memcmp(type, "Exif", 4) == 0 && !exifSeen_) {
            exifSeen_ = true;
            target_ = &exif_;
        } else if (std::memcmp(type, "xml ", 4) == 0 && !xmpSeen_) {
            xmpSeen_ = true;
            target_ = &xmp_;
        } else {
            return;
        }
        target_->resize(kFirstBoxBytes);
        Give(0);
    }

    void OnNeedMoreOutput()
    {
        if (!target_) return;
        const std::size_t written = target_->size() - JxlDecoderReleaseBoxBuffer(decoder_);
        if (target_->size() >= kMaxBoxBytes) {
            target_->clear();
            target_ = nullptr;
            return;
        }
        target_->resize(std::min(2 * target_->size(), kMaxBoxBytes));
        Give(written);
    }

    // Once no more boxes will come.
    void CopyTo(PictureMetadata& metadata)
    {
        Finish();
        CopyExifPayload(exif_.data(), exif_.size(), metadata.exif);
        metadata.xmp = std::move(xmp_);
    }

private:
    void Give(std::size_t written)
    {
        if (JxlDecoderSetBoxBuffer(decoder_, target_->data() + written, target_->size() - written) !=
            JXL_DEC_SUCCESS) {
            target_->clear();
            target_ = nullptr;
        }
    }

    void Finish()
    {
        if (!target_) return;
        target_->resize(target_->size() - JxlDecoderReleaseBoxBuffer(decoder_));
        target_ = nullptr;
    }

    JxlDecoder* decoder_;
    std::vector<std::uint8_t> exif_, xmp_;
    std::vector<std::uint8_t>* target_ = nullptr;
    bool exifSeen_ = false, xmpSeen_ = false;
};

// After the picture: the boxes that follow it, until the file ends or fails.
void ReadTrailingBoxes(JxlDecoder* decoder, MetadataBoxes& boxes)
{
    for (;;) {
        switch (JxlDecoderProcessInput(decoder)) {
        case JXL_DEC_BOX: boxes.OnBox(); break;
        case JXL_DEC_BOX_NEED_MORE_OUTPUT: boxes.OnNeedMoreOutput(); break;
        default: return;
        }
    }
}

}  // namespace

Raster DecodeJxl(ByteSpan data, PictureMetadata* metadata)
{
    const std::unique_ptr<JxlDecoder, JxlDecoderFree> owner(JxlDecoderCreate(nullptr));
    if (!owner) throw std::bad_alloc();
    JxlDecoder* decoder = owner.get();
    const int events =
        JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE | (metadata ? JXL_DEC_COLOR_ENCODING | JXL_DEC_BOX : 0);
    if (JxlDecoderSubscribeEvents(decoder, events) != JXL_DEC_SUCCESS ||
        JxlDecoderSetKeepOrientation(decoder, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder, data.data(), data.size()) != JXL_DEC_SUCCESS)
        throw DecodeError("JPEG XL: cannot set up the decoder");
    JxlDecoderCloseInput(decoder);
    // Without Brotli, compressed boxes are just not read.
    if (metadata) JxlDecoderSetDecompressBoxes(decoder, JXL_TRUE);
    MetadataBoxes boxes(decoder);

    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    Raster raster;
    bool sized = false;
    bool animated = false;
    for (;;) {
        switch (JxlDecoderProcessInput(decoder)) {
        case JXL_DEC_BASIC_INFO: {
            JxlBasicInfo info{};
            if (JxlDecoderGetBasicInfo(decoder, &info) != JXL_DEC_SUCCESS)
                throw DecodeError("JPEG XL: damaged header");
            CheckPictureSize(info.xsize, info.ysize, "JPEG XL");
            raster = Raster(static_cast<int>(info.xsize), static_cast<int>(info.ysize));
            sized = true;
            animated = info.have_animation != JXL_FALSE;
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
        case JXL_DEC_BOX: boxes.OnBox(); break;
        case JXL_DEC_BOX_NEED_MORE_OUTPUT: boxes.OnNeedMoreOutput(); break;
        case JXL_DEC_FULL_IMAGE:
            SwapRedAndBlue(raster);
            if (metadata) {
                if (!animated) ReadTrailingBoxes(decoder, boxes);
                boxes.CopyTo(*metadata);
            }
            return raster;
        case JXL_DEC_NEED_MORE_INPUT: throw DecodeError("JPEG XL: file cut short");
        case JXL_DEC_SUCCESS: throw DecodeError("JPEG XL: no frame");
        case JXL_DEC_ERROR: throw DecodeError("JPEG XL: damaged file");
        default: throw DecodeError("JPEG XL: unexpected decoder event");
        }
    }
}

}  // namespace selvane

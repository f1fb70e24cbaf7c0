// WebP output through libwebp: lossy at the slider's quality (libwebp's own 0 .. 100
// scale), or lossless at libwebp's default effort, with libwebp's defaults otherwise. The
// metadata go in the extended file's ICCP, EXIF and XMP chunks, which libwebpmux lays out.
#include "engine/codec/Encoders.h"

#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include <webp/encode.h>
#include <webp/mux.h>

namespace selvane {

namespace {

struct PictureFree {
    void operator()(WebPPicture* picture) const noexcept { WebPPictureFree(picture); }
};
struct MemoryWriter {
    WebPMemoryWriter writer;
    MemoryWriter() { WebPMemoryWriterInit(&writer); }
    MemoryWriter(const MemoryWriter&) = delete;
    MemoryWriter& operator=(const MemoryWriter&) = delete;
    ~MemoryWriter() { WebPMemoryWriterClear(&writer); }
};
struct MuxFree {
    void operator()(WebPMux* mux) const noexcept { WebPMuxDelete(mux); }
};

[[noreturn]] void Fail(const std::string& reason)
{
    throw std::runtime_error("WebP: " + reason);
}

const char* EncodeErrorText(WebPEncodingError error)
{
    switch (error) {
    case VP8_ENC_ERROR_BAD_DIMENSION: return "picture too large (at most 16383 pixels a side) or empty";
    case VP8_ENC_ERROR_PARTITION0_OVERFLOW:
    case VP8_ENC_ERROR_PARTITION_OVERFLOW: return "picture too detailed for one partition at this quality";
    case VP8_ENC_ERROR_FILE_TOO_BIG: return "file would exceed 4 GB";
    default: return "encoder failed";
    }
}

EncodedPicture Encode(const Raster& raster, const EncodeSettings& settings)
{
    WebPConfig config;
    if (!WebPConfigInit(&config)) Fail("library version mismatch");
    config.lossless = settings.lossless ? 1 : 0;
    if (!settings.lossless) config.quality = static_cast<float>(settings.quality);

    WebPPicture picture;
    if (!WebPPictureInit(&picture)) Fail("library version mismatch");
    const std::unique_ptr<WebPPicture, PictureFree> owner(&picture);
    picture.use_argb = config.lossless;  // lossless works on ARGB, lossy on YUV: import once
    picture.width = raster.Width();
    picture.height = raster.Height();
    if (raster.Empty() || raster.Width() > WEBP_MAX_DIMENSION || raster.Height() > WEBP_MAX_DIMENSION)
        Fail(EncodeErrorText(VP8_ENC_ERROR_BAD_DIMENSION));
    if (!WebPPictureImportBGR(&picture, raster.Data(), static_cast<int>(raster.Stride())))
        throw std::bad_alloc();

    MemoryWriter output;
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &output.writer;
    if (!WebPEncode(&config, &picture)) {
        if (picture.error_code == VP8_ENC_ERROR_OUT_OF_MEMORY ||
            picture.error_code == VP8_ENC_ERROR_BITSTREAM_OUT_OF_MEMORY)
            throw std::bad_alloc();
        Fail(EncodeErrorText(picture.error_code));
    }
    return EncodedPicture(output.writer.mem, output.writer.mem + output.writer.size);
}

void SetChunk(WebPMux* mux, const char* fourcc, const std::vector<std::uint8_t>& contents)
{
    if (contents.empty()) return;
    const WebPData data{contents.data(), contents.size()};
    if (WebPMuxSetChunk(mux, fourcc, &data, 0) != WEBP_MUX_OK)
        Fail(std::string("cannot add the ") + fourcc + " chunk");
}

EncodedPicture WithMetadata(const EncodedPicture& image, const PictureMetadata& metadata)
{
    const std::unique_ptr<WebPMux, MuxFree> mux(WebPMuxNew());
    if (!mux) throw std::bad_alloc();
    const WebPData bitstream{image.data(), image.size()};
    if (WebPMuxSetImage(mux.get(), &bitstream, 0) != WEBP_MUX_OK) Fail("cannot wrap the image data");
    SetChunk(mux.get(), "ICCP", metadata.icc);
    SetChunk(mux.get(), "EXIF", metadata.exif);
    SetChunk(mux.get(), "XMP ", metadata.xmp);
    struct Assembled {
        WebPData data{};
        ~Assembled() { WebPDataClear(&data); }
    } assembled;
    if (WebPMuxAssemble(mux.get(), &assembled.data) != WEBP_MUX_OK) Fail("cannot assemble the file");
    return EncodedPicture(assembled.data.bytes, assembled.data.bytes + assembled.data.size);
}

}  // namespace

EncodedPicture EncodeWebp(const Raster& raster, const EncodeSettings& settings,
                          const PictureMetadata* metadata)
{
    EncodedPicture image = Encode(raster, settings);
    if (!metadata || (metadata->icc.empty() && metadata->exif.empty() && metadata->xmp.empty())) return image;
    return WithMetadata(image, *metadata);
}

}  // namespace selvane

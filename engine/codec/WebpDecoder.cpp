// WebP through libwebp: lossy, lossless and extended files, and of an animation the first
// frame, all read through the demux API so that one path serves every kind. The canvas
// size comes from the container (the VP8X chunk, or the bitstream header of a simple file)
// and is checked against the pixel cap before anything is decoded.
//
// - The frame is decoded straight into the raster at its offset; an animation's canvas
//   outside the first frame takes the background colour the file gives (the ANIM chunk),
//   as a GIF's canvas takes its background colour.
// - Alpha is ignored: the colour stored for every pixel is what is kept (libwebp does not
//   premultiply into a BGR output).
// - Only a complete file is read: a cut-off one is refused by the demuxer.
// - The metadata are the extended file's ICCP, EXIF and XMP chunks, as the demuxer finds them.
#include "engine/codec/Decoders.h"
#include "engine/codec/PictureSize.h"

#include <memory>
#include <string>
#include <vector>

#include <webp/decode.h>
#include <webp/demux.h>

namespace selvane {

namespace {

struct DemuxerFree {
    void operator()(WebPDemuxer* demuxer) const noexcept { WebPDemuxDelete(demuxer); }
};

struct FrameIterator {
    WebPIterator value{};
    FrameIterator() = default;
    FrameIterator(const FrameIterator&) = delete;
    FrameIterator& operator=(const FrameIterator&) = delete;
    ~FrameIterator() { WebPDemuxReleaseIterator(&value); }
};

void FillCanvas(Raster& raster, std::uint32_t background)
{
    // The ANIM chunk stores blue, green, red, alpha from the lowest byte up.
    const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(background),
                                 static_cast<std::uint8_t>(background >> 8),
                                 static_cast<std::uint8_t>(background >> 16)};
    for (int y = 0; y < raster.Height(); ++y) {
        std::uint8_t* row = raster.Row(y);
        for (int x = 0; x < raster.Width(); ++x, row += 3) {
            row[0] = bgr[0];
            row[1] = bgr[1];
            row[2] = bgr[2];
        }
    }
}

// The first chunk of that name; left empty when there is none.
void CopyChunk(WebPDemuxer* demuxer, const char name[4], std::vector<std::uint8_t>& target)
{
    WebPChunkIterator chunk{};
    if (WebPDemuxGetChunk(demuxer, name, 1, &chunk))
        target.assign(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
    WebPDemuxReleaseChunkIterator(&chunk);
}

}  // namespace

Raster DecodeWebp(ByteSpan data, PictureMetadata* metadata)
{
    const WebPData whole{data.data(), data.size()};
    const std::unique_ptr<WebPDemuxer, DemuxerFree> demuxer(WebPDemux(&whole));
    if (!demuxer) throw DecodeError("WebP: not a complete WebP file");

    const std::uint32_t width = WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_WIDTH);
    const std::uint32_t height = WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_HEIGHT);
    CheckPictureSize(width, height, "WebP");
    if (metadata) {
        CopyChunk(demuxer.get(), "ICCP", metadata->icc);
        CopyChunk(demuxer.get(), "EXIF", metadata->exif);
        CopyChunk(demuxer.get(), "XMP ", metadata->xmp);
    }

    FrameIterator frame;
    if (!WebPDemuxGetFrame(demuxer.get(), 1, &frame.value)) throw DecodeError("WebP: no frame");
    const WebPIterator& first = frame.value;
    // The demuxer has checked that the frame lies inside the canvas; its bitstream must
    // also be of the size the frame declares, so that it fills exactly that rectangle.
    WebPBitstreamFeatures features{};
    if (WebPGetFeatures(first.fragment.bytes, first.fragment.size, &features) != VP8_STATUS_OK)
        throw DecodeError("WebP: damaged frame header");
    if (features.width != first.width || features.height != first.height || first.x_offset < 0 ||
        first.y_offset < 0 || static_cast<std::uint32_t>(first.x_offset + first.width) > width ||
        static_cast<std::uint32_t>(first.y_offset + first.height) > height)
        throw DecodeError("WebP: frame does not match its place on the canvas");

    Raster raster(static_cast<int>(width), static_cast<int>(height));
    if (first.width != static_cast<int>(width) || first.height != static_cast<int>(height))
        FillCanvas(raster, WebPDemuxGetI(demuxer.get(), WEBP_FF_BACKGROUND_COLOR));

    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) throw DecodeError("WebP: library version mismatch");
    std::uint8_t* origin = raster.Row(first.y_offset) + static_cast<std::size_t>(first.x_offset) * 3;
    config.output.colorspace = MODE_BGR;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = origin;
    config.output.u.RGBA.stride = static_cast<int>(raster.Stride());
    config.output.u.RGBA.size = static_cast<std::size_t>(
        raster.Data() + raster.Stride() * static_cast<std::size_t>(raster.Height()) - origin);
    const VP8StatusCode status = WebPDecode(first.fragment.bytes, first.fragment.size, &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK)
        throw DecodeError("WebP: damaged image data (status " + std::to_string(status) + ")");
    return raster;
}

}  // namespace selvane

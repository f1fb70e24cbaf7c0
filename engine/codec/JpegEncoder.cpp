#include "engine/codec/JpegEncoder.h"

#include "engine/codec/Encoders.h"
#include "engine/codec/JpegErrorHandler.h"
#include "engine/codec/PictureEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace selvane {

namespace {

constexpr JDIMENSION kRowsPerCall = 16;

// Held by EncodeJpeg so that the function with the setjmp has no C++ locals to skip.
struct JpegEncodeState {
    jpeg_compress_struct info{};
    JpegErrorHandler errors{};
    unsigned char* output = nullptr;  // libjpeg's memory destination, malloc'd by it
    unsigned long outputSize = 0;

    JpegEncodeState() = default;
    JpegEncodeState(const JpegEncodeState&) = delete;
    JpegEncodeState& operator=(const JpegEncodeState&) = delete;
    ~JpegEncodeState()
    {
        jpeg_destroy_compress(&info);  // safe on a never-created object
        std::free(output);             // the destination leaves its buffer to the caller
    }
};

// One APP1 segment: the signature, then the block. Too large a block fails the encode.
void WriteSegment(j_compress_ptr info, std::string_view signature, const std::vector<std::uint8_t>& block)
{
    if (block.empty()) return;
    if (block.size() > kMaxJpegMetadataBlock)
        FailJpeg(reinterpret_cast<j_common_ptr>(info), "metadata too large");
    jpeg_write_m_header(info, JPEG_APP0 + 1, static_cast<unsigned>(signature.size() + block.size()));
    for (const char c : signature) jpeg_write_m_byte(info, static_cast<unsigned char>(c));
    for (const std::uint8_t byte : block) jpeg_write_m_byte(info, byte);
}

// Runs the library; false when it failed, with the reason in state.errors.message.
bool RunEncoder(JpegEncodeState& state, const Raster& raster, const EncodeSettings& settings,
                const PictureMetadata* metadata)
{
    jpeg_compress_struct& info = state.info;
    info.err = UseJpegErrorHandler(state.errors);
    if (setjmp(state.errors.jump)) return false;

    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &state.output, &state.outputSize);
    info.image_width = static_cast<JDIMENSION>(raster.Width());
    info.image_height = static_cast<JDIMENSION>(raster.Height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, settings.quality, TRUE);
    if (settings.optimize) info.optimize_coding = TRUE;
    if (settings.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (metadata) {
        WriteSegment(&info, {"Exif\0\0", 6}, metadata->exif);
        WriteSegment(&info, {"http://ns.adobe.com/xap/1.0/\0", 29}, metadata->xmp);
        if (!metadata->icc.empty())
            jpeg_write_icc_profile(&info, metadata->icc.data(), static_cast<unsigned>(metadata->icc.size()));
    }
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads the rows it is given; its row type is just not const.
        JSAMPROW rows[kRowsPerCall];
        const JDIMENSION first = info.next_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(kRowsPerCall, info.image_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = const_cast<JSAMPROW>(raster.Row(static_cast<int>(first + i)));
        jpeg_write_scanlines(&info, rows, count);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

EncodedPicture EncodeJpeg(const Raster& raster, const EncodeSettings& settings,
                          const PictureMetadata* metadata)
{
    JpegEncodeState state;
    if (!RunEncoder(state, raster, settings, metadata))
        throw std::runtime_error(std::string("JPEG: ") + state.errors.message);
    return EncodedPicture(state.output, state.output + state.outputSize);
}

void WriteJpegFile(const Raster& raster, int quality, const std::string& path,
                   const PictureMetadata* metadata)
{
    WritePictureFile(raster, EncodeSettings{.format = OutputFormat::Jpeg, .quality = quality}, path,
                     metadata);
}

}  // namespace selvane

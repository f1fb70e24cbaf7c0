#include "engine/codec/JpegEncoder.h"

#include "engine/codec/JpegErrorHandler.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <stdexcept>

namespace selvane {

namespace {

constexpr JDIMENSION kRowsPerCall = 16;

// Held by WriteJpegFile so that the function with the setjmp has no C++ locals to skip.
struct JpegEncodeState {
    jpeg_compress_struct info{};
    JpegErrorHandler errors{};

    JpegEncodeState() = default;
    JpegEncodeState(const JpegEncodeState&) = delete;
    JpegEncodeState& operator=(const JpegEncodeState&) = delete;
    ~JpegEncodeState() { jpeg_destroy_compress(&info); }  // safe on a never-created object
};

// Runs the library; false when it failed, with the reason in state.errors.message.
bool RunEncoder(JpegEncodeState& state, const Raster& raster, int quality, std::FILE* output)
{
    jpeg_compress_struct& info = state.info;
    info.err = UseJpegErrorHandler(state.errors);
    if (setjmp(state.errors.jump)) return false;

    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, output);
    info.image_width = static_cast<JDIMENSION>(raster.Width());
    info.image_height = static_cast<JDIMENSION>(raster.Height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
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

void WriteJpegFile(const Raster& raster, int quality, const std::string& path)
{
    platform::AtomicFileWriter writer(path, platform::Durability::NoFlush);
    {
        JpegEncodeState state;
        if (!RunEncoder(state, raster, quality, writer.Stream()))
            throw std::runtime_error(std::string("JPEG: ") + state.errors.message);
    }
    writer.Commit();
}

}  // namespace selvane

// JPEG through libjpeg-turbo, at full size with the accurate integer IDCT and smooth
// chroma upsampling. YCbCr, RGB and grey pictures are decoded by the library straight
// into the raster as blue, green, red. Four-component pictures are decoded as CMYK one
// band of rows at a time and converted here: files with Adobe's APP14 marker (which YCCK
// always carries) store inverted inks, so with stored values c, m, y, k
//   red = c * k / 255, green = m * k / 255, blue = y * k / 255,
// and files without it store plain inks, which are inverted first (c = 255 - C...).
// Results are rounded to nearest. A four-component picture with an embedded CMYK profile
// is converted through that profile to sRGB instead (lcms2), and the profile is not passed
// on: the pixels no longer need it.
//
// The metadata comes from the header's markers: EXIF and XMP (APP1) and the ICC profile
// (APP2, in as many parts as it takes).
//
// Corrupt entropy data is a warning, as in libjpeg's default: the picture decodes with
// whatever the library recovers (missing rows come out grey), up to kMaxJpegWarnings
// warnings. A file of more than kMaxScans scans is refused, so a progressive file of
// endless tiny scans cannot make the decoder redo the picture without end, and so is one
// whose whole-picture buffers would take more than kMaxWorkingMemory.
#include "engine/codec/Decoders.h"
#include "engine/codec/JpegErrorHandler.h"
#include "engine/codec/PictureSize.h"
#include "engine/colour/ColourProfile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace selvane {

namespace {

constexpr int kMaxScans = 100;
// What libjpeg may hold for the whole picture's coefficients, which it needs for
// progressive and multi-scan files: within the pixel cap, a 4:2:0 or grey picture fits;
// a few bytes of header cannot make it ask for gigabytes.
constexpr long kMaxWorkingMemory = 1L << 30;

// Everything that lives across the library calls, held by DecodeJpeg so that the
// function with the setjmp has no C++ locals to skip.
struct JpegDecodeState {
    jpeg_decompress_struct info{};
    JpegErrorHandler errors{};
    jpeg_progress_mgr progress{};
    Raster* raster = nullptr;  // sized here when it is empty
    const std::function<void(int)>* rowsDone = nullptr;
    PictureMetadata* metadata = nullptr;  // filled from the header when given
    std::vector<JSAMPROW> rows;
    std::unique_ptr<JSAMPLE[]> cmyk;
    JOCTET* icc = nullptr;  // the profile as libjpeg assembles it (malloc'd)
    unsigned icc_length = 0;
    std::unique_ptr<CmykToSrgb> cmykProfile;

    JpegDecodeState() = default;
    JpegDecodeState(const JpegDecodeState&) = delete;
    JpegDecodeState& operator=(const JpegDecodeState&) = delete;
    ~JpegDecodeState()
    {
        jpeg_destroy_decompress(&info);  // safe on a never-created object
        std::free(icc);
    }
};

constexpr std::string_view kExifSignature{"Exif\0\0", 6};
constexpr std::string_view kXmpSignature{"http://ns.adobe.com/xap/1.0/\0", 29};

bool Starts(const jpeg_marker_struct& marker, std::string_view signature)
{
    return marker.data_length >= signature.size() &&
           std::memcmp(marker.data, signature.data(), signature.size()) == 0;
}

// The first EXIF and the first XMP segment, and the profile; called between library calls,
// so nothing here can be skipped by the error handler's jump.
void CopyMetadata(const JpegDecodeState& state, PictureMetadata& metadata)
{
    for (const jpeg_marker_struct* marker = state.info.marker_list; marker; marker = marker->next) {
        if (marker->marker != JPEG_APP0 + 1) continue;
        const JOCTET* begin = marker->data;
        const JOCTET* end = begin + marker->data_length;
        if (metadata.exif.empty() && Starts(*marker, kExifSignature))
            metadata.exif.assign(begin + kExifSignature.size(), end);
        else if (metadata.xmp.empty() && Starts(*marker, kXmpSignature))
            metadata.xmp.assign(begin + kXmpSignature.size(), end);
    }
    if (state.icc) metadata.icc.assign(state.icc, state.icc + state.icc_length);
}

void LimitScans(j_common_ptr common)
{
    const auto info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxScans) FailJpeg(common, "too many scans");
}

// round(a * b / 255) for 8-bit a and b.
std::uint8_t MultiplyScaled(unsigned a, unsigned b)
{
    const unsigned product = a * b + 128;
    return static_cast<std::uint8_t>((product + (product >> 8)) >> 8);
}

void CmykRowToBgr(const JSAMPLE* cmyk, int width, bool inverted, std::uint8_t* bgr)
{
    const unsigned flip = inverted ? 0 : 255;
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = cmyk[3] ^ flip;
        bgr[0] = MultiplyScaled(cmyk[2] ^ flip, k);
        bgr[1] = MultiplyScaled(cmyk[1] ^ flip, k);
        bgr[2] = MultiplyScaled(cmyk[0] ^ flip, k);
    }
}

// Runs the library (to the end of the header only without a raster); false when it failed,
// with the reason in state.errors.message.
bool RunDecoder(JpegDecodeState& state, ByteSpan data)
{
    jpeg_decompress_struct& info = state.info;
    info.err = UseJpegErrorHandler(state.errors);
    if (setjmp(state.errors.jump)) return false;

    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxWorkingMemory;
    state.progress.progress_monitor = LimitScans;
    info.progress = &state.progress;
    jpeg_mem_src(&info, data.data(), data.size());
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    if (state.metadata) jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    CheckPictureSize(info.image_width, info.image_height, "JPEG");
    jpeg_read_icc_profile(&info, &state.icc, &state.icc_length);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    if (cmyk && state.icc)
        state.cmykProfile = std::make_unique<CmykToSrgb>(ProfileBytes(state.icc, state.icc_length),
                                                         info.saw_Adobe_marker != 0);
    if (state.metadata) {
        CopyMetadata(state, *state.metadata);
        if (cmyk) state.metadata->icc.clear();
    }
    if (!state.raster) return true;

    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    jpeg_start_decompress(&info);

    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    Raster& raster = *state.raster;
    if (raster.Empty()) raster = Raster(width, height);
    else if (raster.Width() != width || raster.Height() != height)
        FailJpeg(reinterpret_cast<j_common_ptr>(&info), "size changed");
    const int band = std::max(info.rec_outbuf_height, 1);
    state.rows.resize(static_cast<std::size_t>(band));
    if (cmyk) {
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
        state.cmyk.reset(new JSAMPLE[rowBytes * static_cast<std::size_t>(band)]);
        for (int i = 0; i < band; ++i)
            state.rows[i] = state.cmyk.get() + rowBytes * static_cast<std::size_t>(i);
    }
    while (info.output_scanline < info.output_height) {
        const int first = static_cast<int>(info.output_scanline);
        const int wanted = std::min(band, height - first);
        if (!cmyk) {
            for (int i = 0; i < wanted; ++i) state.rows[i] = raster.Row(first + i);
        }
        const auto read =
            static_cast<int>(jpeg_read_scanlines(&info, state.rows.data(), static_cast<JDIMENSION>(wanted)));
        if (cmyk) {
            for (int i = 0; i < read; ++i) {
                const JSAMPLE* inks = state.rows[static_cast<std::size_t>(i)];
                if (state.cmykProfile && *state.cmykProfile)
                    state.cmykProfile->ConvertRow(inks, width, raster.Row(first + i));
                else CmykRowToBgr(inks, width, info.saw_Adobe_marker, raster.Row(first + i));
            }
        }
        if (state.rowsDone) (*state.rowsDone)(first + read);
    }
    // jpeg_finish_decompress is skipped on purpose: it would only read past the picture,
    // where a damaged tail could fail a file whose pixels are all there.
    return true;
}

}  // namespace

Raster DecodeJpeg(ByteSpan data, PictureMetadata* metadata)
{
    Raster raster;
    JpegDecodeState state;
    state.raster = &raster;
    state.metadata = metadata;
    if (!RunDecoder(state, data)) throw DecodeError(std::string("JPEG: ") + state.errors.message);
    return raster;
}

PictureDimensions JpegDimensions(ByteSpan data, PictureMetadata* metadata)
{
    JpegDecodeState state;
    state.metadata = metadata;
    if (!RunDecoder(state, data)) throw DecodeError(std::string("JPEG: ") + state.errors.message);
    return {static_cast<int>(state.info.image_width), static_cast<int>(state.info.image_height)};
}

void DecodeJpegInto(ByteSpan data, Raster& raster, const std::function<void(int)>& rowsDone)
{
    JpegDecodeState state;
    state.raster = &raster;
    if (rowsDone) state.rowsDone = &rowsDone;
    if (!RunDecoder(state, data)) throw DecodeError(std::string("JPEG: ") + state.errors.message);
}

}  // namespace selvane

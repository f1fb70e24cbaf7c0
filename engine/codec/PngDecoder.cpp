// PNG through libpng: every colour type and bit depth to 8-bit blue, green, red, rows
// read straight into the raster (interlaced pictures pass by pass into the same rows).
// 16-bit samples keep their high byte; grey is repeated into the three channels; palette
// indices beyond the colour table give black (libpng keeps a zeroed 256-entry table).
// Alpha channels are dropped and transparency chunks skipped, so every pixel shows the
// colour stored for it; no gamma is applied and no background composited.
//
// libpng's own checks stay on: chunk CRCs, zlib checksums, image data that must cover
// every row. Ancillary chunks are skipped unread, so a text chunk that would inflate to
// gigabytes costs nothing; only a caller that asks for the metadata has the chunks that
// carry it read (iCCP, eXIf and the iTXt chunk of XMP, within the chunk size limit), from
// before the image data. Data after the last row (a damaged or missing IEND) is not read:
// once every row is in, the picture is complete.
#include "engine/codec/Decoders.h"
#include "engine/codec/PictureSize.h"

#include <cstring>
#include <new>
#include <string>

#include <png.h>

namespace selvane {

namespace {

// Largest single chunk libpng will accept; image data is streamed and may be larger.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{64} << 20;

// Everything that lives across the library calls, held by DecodePng so that the function
// with the setjmp has no C++ locals to skip.
struct PngDecodeState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ByteSpan data;
    std::size_t position = 0;
    std::string message;
    Raster raster;
    PictureMetadata* metadata = nullptr;

    PngDecodeState() = default;
    PngDecodeState(const PngDecodeState&) = delete;
    PngDecodeState& operator=(const PngDecodeState&) = delete;
    ~PngDecodeState() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

[[noreturn]] void OnError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngDecodeState*>(png_get_error_ptr(png));
    state->message = message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep target, png_size_t length)
{
    auto* state = static_cast<PngDecodeState*>(png_get_io_ptr(png));
    if (state->data.size() - state->position < length) png_error(png, "file cut short");
    std::memcpy(target, state->data.data() + state->position, length);
    state->position += length;
}

constexpr char kXmpKeyword[] = "XML:com.adobe.xmp";

// Called between library calls that cannot fail, so the error handler's jump skips nothing.
void CopyMetadata(png_structp png, png_infop info, PictureMetadata& metadata)
{
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileLength = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &profileLength) != 0 && profile)
        metadata.icc.assign(profile, profile + profileLength);
    png_bytep exif = nullptr;
    png_uint_32 exifLength = 0;
    if (png_get_eXIf_1(png, info, &exifLength, &exif) != 0 && exif)
        metadata.exif.assign(exif, exif + exifLength);
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(png, info, &texts, &count);
    for (int i = 0; i < count; ++i) {
        const png_text& text = texts[i];
        if (text.compression >= PNG_ITXT_COMPRESSION_NONE && std::strcmp(text.key, kXmpKeyword) == 0 &&
            text.text) {
            metadata.xmp.assign(text.text, text.text + text.itxt_length);
            break;
        }
    }
}

// Runs the library; false when it failed, with the reason in state.message.
bool RunDecoder(PngDecodeState& state)
{
    png_structp png = state.png;
    png_infop info = state.info;
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_read_fn(png, &state, ReadBytes);
    // Each side alone may not exceed the cap; their product is checked after the header.
    const auto sideLimit = static_cast<png_uint_32>(kMaxPicturePixels);
    png_set_user_limits(png, sideLimit, sideLimit);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    // Only IHDR, PLTE, IDAT and IEND matter here: every other chunk, tRNS included, is
    // skipped without being read into memory.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    static const png_byte kTransparency[] = {'t', 'R', 'N', 'S', '\0'};
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kTransparency, 1);
    if (state.metadata) {
        static const png_byte kMetadataChunks[] = {'i', 'C',  'C', 'P', '\0', 'e', 'X', 'I',
                                                   'f', '\0', 'i', 'T', 'X',  't', '\0'};
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kMetadataChunks, 3);
    }

    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    CheckPictureSize(width, height, "PNG");
    if (state.metadata) CopyMetadata(png, info, *state.metadata);

    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_expand(png);  // palette to RGB, grey below 8 bits to 8 bits
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != 3 || png_get_bit_depth(png, info) != 8 ||
        png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 3)
        png_error(png, "unexpected row format after conversion");

    state.raster = Raster(static_cast<int>(width), static_cast<int>(height));
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, state.raster.Row(static_cast<int>(y)), nullptr);
    }
    return true;
}

}  // namespace

Raster DecodePng(ByteSpan data, PictureMetadata* metadata)
{
    static const png_byte kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data.size() < sizeof kSignature || std::memcmp(data.data(), kSignature, sizeof kSignature) != 0)
        throw DecodeError("PNG: not a PNG file");

    PngDecodeState state;
    state.data = data;
    state.position = sizeof kSignature;
    state.metadata = metadata;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    if (!state.png) throw std::bad_alloc();
    state.info = png_create_info_struct(state.png);
    if (!state.info) throw std::bad_alloc();
    png_set_sig_bytes(state.png, sizeof kSignature);
    if (!RunDecoder(state)) throw DecodeError("PNG: " + state.message);
    return std::move(state.raster);
}

}  // namespace selvane

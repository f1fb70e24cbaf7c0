// HEIC and HEIF through libheif (libde265 decodes the HEVC data): the primary image, with
// the transformations the format makes part of the picture (clean-aperture crop, rotation,
// mirroring) applied by libheif, as every viewer shows it. libheif parses the whole box
// structure first; the primary image's size, as it will be after those transformations, is
// then checked against the pixel cap before any image data is decoded. libheif's own limit
// on each side keeps its default (32768) while it reads the file and is then lowered to the
// declared size; it decodes on the calling thread.
//
// - 8-bit pictures come out of libheif as interleaved red, green, blue and are reordered
//   into the raster; deeper ones (10, 12 bits) come out as 16-bit samples and are reduced
//   here by rounding (libheif's own reduction to 8 bits drops the low bits).
// - Alpha is ignored: only the colour channels are asked for.
// - The metadata are the primary image's ICC profile (not a colour description by numbers,
//   which carries no profile), its first Exif block and its first XMP block. Its pixels are
//   already turned, so the EXIF orientation no longer applies to them.
#include "engine/codec/Decoders.h"
#include "engine/codec/ExifPayload.h"
#include "engine/codec/HeifGridSize.h"
#include "engine/codec/PictureSize.h"
#include "engine/codec/SampleDepth.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <libheif/heif.h>

namespace selvane {

namespace {

// libheif's default limit on each side of a picture.
constexpr int kLibraryLimit = 32768;

struct ContextFree {
    void operator()(heif_context* context) const noexcept { heif_context_free(context); }
};
struct HandleFree {
    void operator()(heif_image_handle* handle) const noexcept { heif_image_handle_release(handle); }
};
struct ImageFree {
    void operator()(heif_image* image) const noexcept { heif_image_release(image); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const noexcept { heif_decoding_options_free(options); }
};

void Check(const heif_error& error, const char* step)
{
    // A memory error is refused like any other: libheif also reports its security limits
    // (box sizes, item counts a few bytes can declare) under that code.
    if (error.code == heif_error_Ok) return;
    throw DecodeError(std::string("HEIF: ") + step + ": " +
                      (error.message ? error.message : "unknown error"));
}

// Registers the decoder plugins once for the whole program; they stay until it ends.
void InitialiseLibrary()
{
    static const heif_error initialised = heif_init(nullptr);
    Check(initialised, "cannot initialise libheif");
}

void CopyRows(const heif_image* image, int bits, Raster& raster)
{
    int stride = 0;
    const std::uint8_t* plane = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    if (!plane || stride <= 0) throw DecodeError("HEIF: no colour plane");
    const int width = raster.Width();
    for (int y = 0; y < raster.Height(); ++y) {
        const std::uint8_t* in = plane + static_cast<std::size_t>(stride) * static_cast<std::size_t>(y);
        std::uint8_t* out = raster.Row(y);
        if (bits <= 8) {
            for (int x = 0; x < width; ++x, in += 3, out += 3) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        } else {
            const unsigned maximum = (1u << bits) - 1;
            for (int x = 0; x < width; ++x, in += 6, out += 3) {
                for (int channel = 0; channel < 3; ++channel) {
                    const unsigned value = in[2 * channel] | unsigned{in[2 * channel + 1]} << 8;
                    out[2 - channel] = ReduceTo8Bits(value, maximum);
                }
            }
        }
    }
}

// The first metadata block of that type (and content type, when given).
void CopyBlock(const heif_image_handle* handle, const char* type, const char* contentType,
               std::vector<std::uint8_t>& target)
{
    const int count = heif_image_handle_get_number_of_metadata_blocks(handle, type);
    if (count <= 0) return;
    std::vector<heif_item_id> ids(static_cast<std::size_t>(count));
    heif_image_handle_get_list_of_metadata_block_IDs(handle, type, ids.data(), count);
    for (const heif_item_id id : ids) {
        if (contentType &&
            std::strcmp(heif_image_handle_get_metadata_content_type(handle, id), contentType) != 0)
            continue;
        std::vector<std::uint8_t> block(heif_image_handle_get_metadata_size(handle, id));
        if (block.empty() || heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok)
            continue;
        target = std::move(block);
        return;
    }
}

void CopyMetadata(const heif_image_handle* handle, PictureMetadata& metadata)
{
    metadata.orientation = 1;
    const heif_color_profile_type profile = heif_image_handle_get_color_profile_type(handle);
    if (profile == heif_color_profile_type_prof || profile == heif_color_profile_type_rICC) {
        std::vector<std::uint8_t> icc(heif_image_handle_get_raw_color_profile_size(handle));
        if (!icc.empty() && heif_image_handle_get_raw_color_profile(handle, icc.data()).code == heif_error_Ok)
            metadata.icc = std::move(icc);
    }
    std::vector<std::uint8_t> exif;
    CopyBlock(handle, "Exif", nullptr, exif);
    CopyExifPayload(exif.data(), exif.size(), metadata.exif);
    CopyBlock(handle, "mime", "application/rdf+xml", metadata.xmp);
}

// The widest and the tallest of the sizes the file's pictures declare, primary among them.
PictureDimensions LargestDeclaredSize(heif_context* context, PictureDimensions primary)
{
    const int count = heif_context_get_number_of_top_level_images(context);
    std::vector<heif_item_id> ids(static_cast<std::size_t>(std::max(count, 0)));
    if (!ids.empty()) heif_context_get_list_of_top_level_image_IDs(context, ids.data(), count);
    for (const heif_item_id id : ids) {
        heif_image_handle* other = nullptr;
        if (heif_context_get_image_handle(context, id, &other).code != heif_error_Ok) continue;
        const std::unique_ptr<heif_image_handle, HandleFree> handle(other);
        primary.width = std::max(primary.width, heif_image_handle_get_ispe_width(other));
        primary.height = std::max(primary.height, heif_image_handle_get_ispe_height(other));
    }
    return primary;
}

}  // namespace

Raster DecodeHeif(ByteSpan data, PictureMetadata* metadata)
{
    InitialiseLibrary();
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) throw std::bad_alloc();
    heif_context_set_max_decoding_threads(context.get(), 0);
    Check(heif_context_read_from_memory_without_copy(context.get(), data.data(), data.size(), nullptr),
          "damaged file");

    heif_image_handle* primary = nullptr;
    Check(heif_context_get_primary_image_handle(context.get(), &primary), "no primary image");
    const std::unique_ptr<heif_image_handle, HandleFree> handle(primary);
    CheckPictureSize(heif_image_handle_get_width(primary), heif_image_handle_get_height(primary), "HEIF");
    const int ispeWidth = heif_image_handle_get_ispe_width(primary);
    const int ispeHeight = heif_image_handle_get_ispe_height(primary);
    CheckPictureSize(ispeWidth, ispeHeight, "HEIF");
    // No grid may ask for a canvas beyond the sizes the file's pictures declare; the primary
    // picture's own grid must ask for exactly its size, which the check after decoding holds.
    const PictureDimensions largest = LargestDeclaredSize(context.get(), {ispeWidth, ispeHeight});
    for (const PictureDimensions& grid : GridCanvasSizes(data)) {
        if (grid.width > largest.width || grid.height > largest.height)
            throw DecodeError("HEIF: a grid of " + std::to_string(grid.width) + " x " +
                              std::to_string(grid.height) + " pixels where the file declares " +
                              std::to_string(ispeWidth) + " x " + std::to_string(ispeHeight));
        // The other pictures' sizes were not held to the cap.
        CheckPictureSize(grid.width, grid.height, "HEIF");
    }
    // An overlay image, like a grid, takes its canvas size from its own item data, and
    // libheif allocates that canvas before anything can compare it with the size checked
    // above: its per-side limit, lowered towards the declared size, refuses a far larger one
    // first. The limit also holds each coded tile, which may exceed the declared size by its
    // coding blocks (up to 64 pixels) and by the part of an edge tile the canvas cuts off.
    const int declaredSide = std::max(
        {ispeWidth, ispeHeight, heif_image_handle_get_width(primary), heif_image_handle_get_height(primary)});
    heif_context_set_maximum_image_size_limit(context.get(), std::min(2 * declaredSide + 64, kLibraryLimit));
    if (metadata) CopyMetadata(primary, *metadata);

    const bool deep = heif_image_handle_get_luma_bits_per_pixel(primary) > 8;
    const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    if (!options) throw std::bad_alloc();
    heif_image* decoded = nullptr;
    Check(heif_decode_image(primary, &decoded, heif_colorspace_RGB,
                            deep ? heif_chroma_interleaved_RRGGBB_LE : heif_chroma_interleaved_RGB,
                            options.get()),
          "damaged image data");
    const std::unique_ptr<heif_image, ImageFree> image(decoded);

    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    // libheif 1.15 takes the size of the coded stream without comparing it with the declared
    // one, which the pixel cap was checked against: a picture of another size is refused.
    if (width != heif_image_handle_get_width(primary) || height != heif_image_handle_get_height(primary))
        throw DecodeError("HEIF: coded picture of " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels where the file declares another size");
    const int bits = heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved);
    if (bits < 8 || bits > 16 || (bits > 8) != deep) throw DecodeError("HEIF: unexpected sample depth");
    Raster raster(width, height);
    CopyRows(decoded, bits, raster);
    return raster;
}

}  // namespace selvane

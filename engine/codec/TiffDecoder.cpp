// TIFF through libtiff: the first page (image file directory), whatever its layout, in
// strips or tiles, with interleaved samples or one plane per sample, under any compression
// libtiff decodes. libtiff reads the directory when the file is opened; the size is checked
// against the pixel cap then, before any image data is read. libtiff's largest single
// allocation is capped too, and its messages go to this decode alone, not to stderr.
//
// Colour models, with 1, 2, 4, 8 or 16 unsigned bits per sample:
// - grey (black or white as zero), scaled to 0 ... 255 and repeated into the three channels;
// - palette, through the colour map, whose 16-bit entries are reduced; a map whose entries
//   all lie below 256 was written with 8-bit values, as old writers did, and is taken so;
// - RGB, and YCbCr compressed as JPEG (libjpeg converts it to RGB);
// - CMYK with plain inks: red = (max - c) * (max - k) / max scaled to 0 ... 255, and so on.
// Every reduction to 8 bits rounds to nearest. Further samples (alpha among them) are
// ignored: the colour stored for every pixel is what is kept. Other colour models and
// signed or floating-point samples are refused. The Orientation tag is not applied here but
// passed on with the metadata (with the ICC profile and the XMP packet), so that the job
// turns the picture as it turns a JPEG by its EXIF orientation.
#include "engine/codec/Decoders.h"
#include "engine/codec/PictureSize.h"
#include "engine/codec/SampleDepth.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <tiffio.h>

namespace selvane {

namespace {

// libtiff's own allocations (compressed strips, codec state); a block of decoded samples
// is bounded the same way below.
constexpr tmsize_t kMaxSingleAllocation = tmsize_t{1} << 30;

enum class Model { Grey, GreyInverted, Palette, Rgb, Cmyk };

struct MemoryFile {
    ByteSpan data;
    std::uint64_t position = 0;
    std::string message;
};

tmsize_t ReadFile(thandle_t handle, void* target, tmsize_t size)
{
    auto* file = static_cast<MemoryFile*>(handle);
    if (size <= 0 || file->position >= file->data.size()) return 0;
    const auto count =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(size), file->data.size() - file->position);
    std::memcpy(target, file->data.data() + file->position, count);
    file->position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t WriteFile(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t SeekFile(thandle_t handle, toff_t offset, int whence)
{
    auto* file = static_cast<MemoryFile*>(handle);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR) base = file->position;
    if (whence == SEEK_END) base = file->data.size();
    // Offsets come from the file and may be anything; libtiff treats a failed seek as an error.
    if (offset > UINT64_MAX - base) return static_cast<toff_t>(-1);
    file->position = base + offset;
    return file->position;
}

int CloseFile(thandle_t)
{
    return 0;
}

toff_t FileSize(thandle_t handle)
{
    return static_cast<MemoryFile*>(handle)->data.size();
}

int MapFile(thandle_t, void**, toff_t*)
{
    return 0;
}

void UnmapFile(thandle_t, void*, toff_t) {}

int KeepFirstError(TIFF*, void* handle, const char*, const char* format, va_list arguments)
{
    auto* file = static_cast<MemoryFile*>(handle);
    if (file->message.empty()) {
        char text[256];
        std::vsnprintf(text, sizeof text, format, arguments);
        file->message = text;
    }
    return 1;
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

struct TiffClose {
    void operator()(TIFF* tiff) const noexcept { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const noexcept { TIFFOpenOptionsFree(options); }
};

// The directory's facts that the conversion needs.
struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bits = 0;
    int samples = 0;        // per pixel, extra samples included
    int colourSamples = 0;  // of those, the ones the model reads
    bool separate = false;  // one plane per sample
    Model model = Model::Rgb;
    unsigned maximum = 0;            // largest sample value
    std::uint8_t palette[3][256]{};  // red, green, blue per index (Model::Palette)
};

[[noreturn]] void Fail(const MemoryFile& file, const std::string& what)
{
    throw DecodeError("TIFF: " + what + (file.message.empty() ? "" : " (" + file.message + ")"));
}

Model ModelOf(TIFF* tiff, const MemoryFile& file, int samples)
{
    std::uint16_t photometric = 0;
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric))
        photometric = samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    std::uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    switch (photometric) {
    case PHOTOMETRIC_MINISBLACK: return Model::Grey;
    case PHOTOMETRIC_MINISWHITE: return Model::GreyInverted;
    case PHOTOMETRIC_PALETTE: return Model::Palette;
    case PHOTOMETRIC_RGB: return Model::Rgb;
    case PHOTOMETRIC_YCBCR:
        if (compression == COMPRESSION_JPEG && TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB))
            return Model::Rgb;
        break;
    case PHOTOMETRIC_SEPARATED: {
        std::uint16_t inks = INKSET_CMYK;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
        if (inks == INKSET_CMYK) return Model::Cmyk;
        break;
    }
    default: break;
    }
    Fail(file, "colour model " + std::to_string(photometric) + " is not supported");
}

void ReadPalette(TIFF* tiff, const MemoryFile& file, Layout& layout)
{
    std::uint16_t* map[3] = {};
    if (layout.bits > 8 || !TIFFGetField(tiff, TIFFTAG_COLORMAP, &map[0], &map[1], &map[2]))
        Fail(file, "palette picture without a usable colour map");
    const std::size_t entries = std::size_t{1} << layout.bits;
    bool eightBit = true;
    for (const std::uint16_t* channel : map)
        eightBit =
            eightBit && std::all_of(channel, channel + entries, [](std::uint16_t v) { return v < 256; });
    for (int channel = 0; channel < 3; ++channel)
        for (std::size_t i = 0; i < entries; ++i)
            layout.palette[channel][i] =
                eightBit ? static_cast<std::uint8_t>(map[channel][i]) : ReduceTo8Bits(map[channel][i], 65535);
}

Layout ReadLayout(TIFF* tiff, const MemoryFile& file)
{
    Layout layout;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width) ||
        !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height))
        Fail(file, "no picture size");
    CheckPictureSize(layout.width, layout.height, "TIFF");

    std::uint16_t bits = 1;
    std::uint16_t samples = 1;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
        Fail(file, std::to_string(bits) + " bits per sample are not supported");
    if (format != SAMPLEFORMAT_UINT && format != SAMPLEFORMAT_VOID)
        Fail(file, "samples are not unsigned integers");
    layout.bits = bits;
    layout.samples = samples;
    layout.separate = planar == PLANARCONFIG_SEPARATE && samples > 1;
    layout.maximum = (1u << bits) - 1;
    layout.model = ModelOf(tiff, file, samples);
    layout.colourSamples = layout.model == Model::Rgb ? 3 : layout.model == Model::Cmyk ? 4 : 1;
    if (layout.samples < layout.colourSamples) Fail(file, "too few samples per pixel for the colour model");
    if (layout.model == Model::Palette) ReadPalette(tiff, file, layout);
    return layout;
}

unsigned SampleAt(const std::uint8_t* row, std::size_t index, int bits)
{
    switch (bits) {
    case 8: return row[index];
    case 16: {
        std::uint16_t value;  // libtiff has put it in the machine's byte order
        std::memcpy(&value, row + 2 * index, 2);
        return value;
    }
    default: {
        const std::size_t bit = index * static_cast<std::size_t>(bits);
        return (row[bit / 8] >> (8 - bits - static_cast<int>(bit % 8))) & ((1u << bits) - 1);
    }
    }
}

// round(255 * (max - a) * (max - b) / max^2): a plain ink and the black ink over white.
std::uint8_t UnderInks(unsigned a, unsigned b, unsigned maximum)
{
    const std::uint64_t square = std::uint64_t{maximum} * maximum;
    return static_cast<std::uint8_t>((std::uint64_t{maximum - a} * (maximum - b) * 255 + square / 2) /
                                     square);
}

void ToBgr(const Layout& layout, const unsigned* s, std::uint8_t* out)
{
    switch (layout.model) {
    case Model::Grey:
    case Model::GreyInverted: {
        const unsigned grey = layout.model == Model::Grey ? s[0] : layout.maximum - s[0];
        out[0] = out[1] = out[2] = ReduceTo8Bits(grey, layout.maximum);
        break;
    }
    case Model::Palette:
        out[0] = layout.palette[2][s[0]];
        out[1] = layout.palette[1][s[0]];
        out[2] = layout.palette[0][s[0]];
        break;
    case Model::Rgb:
        out[0] = ReduceTo8Bits(s[2], layout.maximum);
        out[1] = ReduceTo8Bits(s[1], layout.maximum);
        out[2] = ReduceTo8Bits(s[0], layout.maximum);
        break;
    case Model::Cmyk:
        out[0] = UnderInks(s[2], s[3], layout.maximum);
        out[1] = UnderInks(s[1], s[3], layout.maximum);
        out[2] = UnderInks(s[0], s[3], layout.maximum);
        break;
    }
}

// One strip or tile: its place, its size as stored, and its decoded samples per plane.
struct Block {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint64_t rowBytes = 0;
    // Not zeroed: a few bytes of directory can declare strips of a gigabyte that the data
    // never fills, and only the pages libtiff decodes into get touched. Every byte the
    // conversion reads has been decoded (the read sizes are checked).
    std::vector<std::unique_ptr<std::uint8_t[]>> planes;
};

void DrawBlock(const Layout& layout, const Block& block, Raster& raster)
{
    const std::uint32_t rows = std::min(block.height, layout.height - block.y);
    const std::uint32_t columns = std::min(block.width, layout.width - block.x);
    unsigned samples[4] = {};
    for (std::uint32_t r = 0; r < rows; ++r) {
        std::uint8_t* out = raster.Row(static_cast<int>(block.y + r)) + std::size_t{block.x} * 3;
        for (std::uint32_t c = 0; c < columns; ++c, out += 3) {
            for (int s = 0; s < layout.colourSamples; ++s) {
                const auto plane = static_cast<std::size_t>(layout.separate ? s : 0);
                const std::size_t index =
                    layout.separate
                        ? c
                        : std::size_t{c} * static_cast<unsigned>(layout.samples) + static_cast<unsigned>(s);
                samples[s] = SampleAt(block.planes[plane].get() + r * block.rowBytes, index, layout.bits);
            }
            ToBgr(layout, samples, out);
        }
    }
}

// Decodes every strip or tile of the first directory into the raster.
void DrawPicture(TIFF* tiff, const MemoryFile& file, const Layout& layout, Raster& raster)
{
    const bool tiled = TIFFIsTiled(tiff) != 0;
    Block block;
    std::uint64_t blockBytes = 0;
    if (tiled) {
        if (!TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &block.width) ||
            !TIFFGetField(tiff, TIFFTAG_TILELENGTH, &block.height) || block.width == 0 || block.height == 0)
            Fail(file, "damaged tile size");
        block.rowBytes = TIFFTileRowSize64(tiff);
        blockBytes = TIFFTileSize64(tiff);
    } else {
        std::uint32_t rowsPerStrip = layout.height;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
        block.width = layout.width;
        block.height = std::clamp<std::uint32_t>(rowsPerStrip, 1, layout.height);
        block.rowBytes = TIFFScanlineSize64(tiff);
        blockBytes = TIFFVStripSize64(tiff, block.height);
    }
    const std::uint64_t samplesPerRow =
        std::uint64_t{block.width} * (layout.separate ? 1u : static_cast<unsigned>(layout.samples));
    if (block.rowBytes < (samplesPerRow * static_cast<unsigned>(layout.bits) + 7) / 8 ||
        blockBytes < block.rowBytes * block.height ||
        blockBytes > static_cast<std::uint64_t>(kMaxSingleAllocation))
        Fail(file, "damaged strip or tile layout");
    const int planes = layout.separate ? layout.colourSamples : 1;
    for (int p = 0; p < planes; ++p)
        block.planes.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(blockBytes));

    for (block.y = 0; block.y < layout.height; block.y += block.height) {
        for (block.x = 0; block.x < layout.width; block.x += block.width) {
            const std::uint64_t needed =
                block.rowBytes * std::min<std::uint64_t>(block.height, layout.height - block.y);
            for (int p = 0; p < planes; ++p) {
                const auto sample = static_cast<std::uint16_t>(p);
                void* target = block.planes[static_cast<std::size_t>(p)].get();
                const tmsize_t got =
                    tiled ? TIFFReadEncodedTile(tiff, TIFFComputeTile(tiff, block.x, block.y, 0, sample),
                                                target, static_cast<tmsize_t>(blockBytes))
                          : TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, block.y, sample), target,
                                                 static_cast<tmsize_t>(blockBytes));
                if (got < 0 || static_cast<std::uint64_t>(got) < (tiled ? blockBytes : needed))
                    Fail(file, "damaged image data");
            }
            DrawBlock(layout, block, raster);
        }
    }
}

}  // namespace

namespace {

void CopyMetadata(TIFF* tiff, PictureMetadata& metadata)
{
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
    metadata.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    std::uint32_t count = 0;
    const std::uint8_t* bytes = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &count, &bytes) && bytes)
        metadata.icc.assign(bytes, bytes + count);
    if (TIFFGetField(tiff, TIFFTAG_XMLPACKET, &count, &bytes) && bytes)
        metadata.xmp.assign(bytes, bytes + count);
}

}  // namespace

Raster DecodeTiff(ByteSpan data, PictureMetadata* metadata)
{
    MemoryFile file;
    file.data = data;
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options) throw std::bad_alloc();
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), KeepFirstError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), IgnoreWarning, &file);
    // "m": never map the file; the bytes are already in memory and stay read-only.
    const std::unique_ptr<TIFF, TiffClose> tiff(TIFFClientOpenExt("picture", "rm", &file, ReadFile, WriteFile,
                                                                  SeekFile, CloseFile, FileSize, MapFile,
                                                                  UnmapFile, options.get()));
    if (!tiff) Fail(file, "not a readable TIFF file");

    const Layout layout = ReadLayout(tiff.get(), file);
    if (metadata) CopyMetadata(tiff.get(), *metadata);
    Raster raster(static_cast<int>(layout.width), static_cast<int>(layout.height));
    DrawPicture(tiff.get(), file, layout, raster);
    return raster;
}

}  // namespace selvane

// Windows and OS/2 bitmaps, read by hand: core (12-byte), OS/2 2.x (16 to 64 bytes),
// info (40), V2/V3 (52/56), V4 (108) and V5 (124) headers; 1, 2, 4 and 8-bit indexed,
// 16 and 32-bit with default or explicit channel masks, 24-bit; RLE4 and RLE8.
//
// Choices where files leave the result open:
// - an index beyond the colour table (or into a table cut short by the pixel data) draws
//   black;
// - pixels an RLE stream never reaches (skipped by a delta, an early end of line or end of
//   bitmap, or a stream that stops) take colour table entry 0, as on a bitmap whose indices
//   start at zero;
// - an RLE run or delta that would leave the picture is an error, since it cannot be
//   placed; a stream that just stops early keeps what it drew;
// - uncompressed pixel data shorter than the picture is an error; only the padding of the
//   last row may be missing;
// - channel masks narrower than 8 bits are widened by repeating their bits (5-bit 0x1F
//   gives 0xFF), wider ones keep their top 8 bits, a zero mask gives 0, and a mask whose
//   bits are not contiguous is an error. Alpha is ignored.
#include "engine/codec/Decoders.h"
#include "engine/codec/Palette.h"
#include "engine/codec/PictureSize.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>

namespace selvane {

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
// The masks of BI_BITFIELDS sit inside every Windows header from V2 on, at this offset.
constexpr std::uint64_t kMasksInHeader = kFileHeaderSize + 40;

[[noreturn]] void Fail(const std::string& what)
{
    throw DecodeError("BMP: " + what);
}

// Callers check that the bytes are inside the buffer.
std::uint16_t U16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t U32(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}

enum class HeaderKind { Core, Os2, Windows };
enum class Encoding { Indexed, Rle8, Rle4, Direct, Masked };

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    unsigned bitCount = 0;
    Encoding encoding = Encoding::Direct;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue
    HeaderKind kind = HeaderKind::Windows;
    std::uint64_t paletteOffset = 0;
    std::uint64_t paletteEntries = 0;  // as declared, or implied by the bit count
    std::uint64_t pixelOffset = 0;
};

HeaderKind KindOfHeader(std::uint64_t size)
{
    switch (size) {
    case 12: return HeaderKind::Core;
    case 40:
    case 52:
    case 56:
    case 108:
    case 124: return HeaderKind::Windows;
    default:
        if (size >= 16 && size <= 64) return HeaderKind::Os2;
        Fail("unknown header size " + std::to_string(size));
    }
}

[[noreturn]] void FailDepth(unsigned bitCount, std::uint32_t compression)
{
    Fail("unsupported bit count " + std::to_string(bitCount) + " for compression " +
         std::to_string(compression));
}

Encoding EncodingOf(std::uint32_t compression, unsigned bitCount, HeaderKind kind)
{
    switch (compression) {
    case 0:  // BI_RGB
        switch (bitCount) {
        case 1:
        case 2:
        case 4:
        case 8: return Encoding::Indexed;
        case 16:
        case 32: return Encoding::Masked;
        case 24: return Encoding::Direct;
        default: FailDepth(bitCount, compression);
        }
    case 1:  // BI_RLE8
        if (bitCount != 8) FailDepth(bitCount, compression);
        return Encoding::Rle8;
    case 2:  // BI_RLE4
        if (bitCount != 4) FailDepth(bitCount, compression);
        return Encoding::Rle4;
    case 3:  // BI_BITFIELDS (in an OS/2 header this value means Huffman 1D)
    case 6:  // BI_ALPHABITFIELDS
        if (kind != HeaderKind::Windows) break;
        if (bitCount != 16 && bitCount != 32) FailDepth(bitCount, compression);
        return Encoding::Masked;
    default: break;
    }
    Fail("unsupported compression " + std::to_string(compression));
}

Layout ReadLayout(ByteSpan data)
{
    if (data.size() < kFileHeaderSize + 4) Fail("file too short");
    if (data[0] != 'B' || data[1] != 'M') Fail("not a Windows bitmap");
    const std::uint8_t* bytes = data.data();
    const std::uint64_t headerSize = U32(bytes + 14);
    Layout layout;
    layout.kind = KindOfHeader(headerSize);
    if (data.size() < kFileHeaderSize + headerSize) Fail("header cut short");
    layout.pixelOffset = U32(bytes + 10);

    const std::uint8_t* header = bytes + kFileHeaderSize;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    if (layout.kind == HeaderKind::Core) {
        width = U16(header + 4);
        height = U16(header + 6);
        layout.bitCount = U16(header + 10);
    } else {
        // OS/2 2.x headers may end after any field; the fields they leave out are zero.
        width = static_cast<std::int32_t>(U32(header + 4));
        height = static_cast<std::int32_t>(U32(header + 8));
        layout.bitCount = U16(header + 14);
        if (headerSize >= 20) compression = U32(header + 16);
        if (headerSize >= 36) colorsUsed = U32(header + 32);
    }
    layout.topDown = height < 0;
    if (layout.topDown) height = -height;
    CheckPictureSize(width, height, "BMP");
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    layout.encoding = EncodingOf(compression, layout.bitCount, layout.kind);
    const bool rle = layout.encoding == Encoding::Rle8 || layout.encoding == Encoding::Rle4;
    if (rle && layout.topDown) Fail("compressed picture stored top-down");

    std::uint64_t afterHeader = kFileHeaderSize + headerSize;
    if (layout.encoding == Encoding::Masked) {
        if (compression == 0) {
            layout.masks = layout.bitCount == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                                 : std::array<std::uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
        } else {
            std::uint64_t masksAt = kMasksInHeader;
            if (headerSize == 40) {
                // The plain info header is followed by the masks (and an alpha mask for
                // BI_ALPHABITFIELDS), then by the colour table.
                masksAt = afterHeader;
                afterHeader += compression == 6 ? 16 : 12;
                if (data.size() < afterHeader) Fail("colour masks cut short");
            }
            for (std::size_t i = 0; i < 3; ++i) layout.masks[i] = U32(bytes + masksAt + 4 * i);
        }
    }

    if (layout.pixelOffset < afterHeader) Fail("pixel data offset inside the header");
    if (layout.pixelOffset > data.size()) Fail("pixel data offset past the end of the file");
    layout.paletteOffset = afterHeader;
    if (layout.encoding == Encoding::Indexed || rle) {
        layout.paletteEntries = colorsUsed != 0 ? colorsUsed : std::uint64_t{1} << layout.bitCount;
        const std::uint64_t entrySize = layout.kind == HeaderKind::Core ? 3 : 4;
        // A table the file declares but cannot hold is a damaged header; one merely cut
        // short by the pixel data is read as far as it goes.
        if (colorsUsed != 0 && layout.paletteOffset + layout.paletteEntries * entrySize > data.size())
            Fail("colour table larger than the file");
    }

    if (!rle) {
        const std::uint64_t rowBits = static_cast<std::uint64_t>(layout.width) * layout.bitCount;
        const std::uint64_t stride = (rowBits + 31) / 32 * 4;
        const std::uint64_t lastRow = (rowBits + 7) / 8;
        const std::uint64_t needed = stride * (static_cast<std::uint64_t>(layout.height) - 1) + lastRow;
        if (data.size() - layout.pixelOffset < needed) Fail("pixel data cut short");
    }
    return layout;
}

Palette ReadPalette(ByteSpan data, const Layout& layout)
{
    const std::uint64_t entrySize = layout.kind == HeaderKind::Core ? 3 : 4;
    const std::uint64_t room = (layout.pixelOffset - layout.paletteOffset) / entrySize;
    const std::uint64_t count = std::min({layout.paletteEntries, room, std::uint64_t{256}});
    Palette palette;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = data.data() + layout.paletteOffset + i * entrySize;
        palette.Set(static_cast<std::uint8_t>(i), entry[2], entry[1], entry[0]);
    }
    return palette;
}

// One colour channel of a 16- or 32-bit pixel: cut out by its mask and scaled to 8 bits
// through a table.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
    {
        if (mask == 0) return;  // the table stays zero: the channel reads as 0
        shift_ = static_cast<unsigned>(std::countr_zero(mask));
        const std::uint32_t bits = mask >> shift_;
        if ((bits & (bits + 1)) != 0) Fail("colour mask with gaps");
        unsigned width = static_cast<unsigned>(std::popcount(bits));
        if (width > 8) {
            shift_ += width - 8;
            width = 8;
        }
        valueMask_ = (1u << width) - 1;
        for (unsigned value = 0; value <= valueMask_; ++value) {
            // Repeat the value's bits until 8 are filled, then keep the top 8.
            unsigned widened = 0;
            unsigned filled = 0;
            for (; filled < 8; filled += width) widened = widened << width | value;
            table_[value] = static_cast<std::uint8_t>(widened >> (filled - 8));
        }
    }

    std::uint8_t operator()(std::uint32_t pixel) const { return table_[pixel >> shift_ & valueMask_]; }

private:
    unsigned shift_ = 0;
    std::uint32_t valueMask_ = 0;
    std::array<std::uint8_t, 256> table_{};
};

// Calls convert(source row, raster row) for every stored row, bottom-up or top-down.
template <typename Convert>
void ForEachRow(ByteSpan data, const Layout& layout, Raster& raster, Convert convert)
{
    const std::uint64_t stride = (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
    const std::uint8_t* source = data.data() + layout.pixelOffset;
    for (int row = 0; row < layout.height; ++row, source += stride)
        convert(source, raster.Row(layout.topDown ? row : layout.height - 1 - row));
}

template <unsigned Bits>
void IndexedRow(const std::uint8_t* source, int width, const Palette& palette, std::uint8_t* target)
{
    constexpr unsigned kPerByte = 8 / Bits;
    constexpr unsigned kMask = (1u << Bits) - 1;
    for (int x = 0; x < width; ++x) {
        // The leftmost pixel is in the high bits.
        const unsigned shift = 8 - Bits * (1 + static_cast<unsigned>(x) % kPerByte);
        palette.Put(static_cast<std::uint8_t>(source[x / kPerByte] >> shift & kMask), target + 3 * x);
    }
}

template <unsigned Bytes>
void MaskedRow(const std::uint8_t* source, int width, const std::array<Channel, 3>& channels,
               std::uint8_t* target)
{
    for (int x = 0; x < width; ++x, source += Bytes, target += 3) {
        const std::uint32_t pixel = Bytes == 2 ? U16(source) : U32(source);
        target[0] = channels[2](pixel);
        target[1] = channels[1](pixel);
        target[2] = channels[0](pixel);
    }
}

// BI_RLE8 / BI_RLE4: runs of one index (RLE4: two alternating indices), literal runs
// padded to 16 bits, and escapes for end of line, end of bitmap and a delta move. Rows
// are counted from the bottom.
void DecodeRle(ByteSpan stream, unsigned bits, const Palette& palette, Raster& raster)
{
    const int width = raster.Width();
    const int height = raster.Height();
    palette.Fill(0, raster.Data(), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::int64_t x = 0;
    std::int64_t y = 0;
    const auto place = [&](unsigned count) {
        if (y >= height || x + count > width) Fail("compressed run leaves the picture");
        std::uint8_t* target = raster.Row(height - 1 - static_cast<int>(y)) + 3 * x;
        x += count;
        return target;
    };
    const auto nibble = [](std::uint8_t pair, unsigned i) {
        return static_cast<std::uint8_t>(i % 2 == 0 ? pair >> 4 : pair & 0x0F);
    };
    std::size_t at = 0;
    while (stream.size() - at >= 2) {
        const unsigned count = stream[at];
        const std::uint8_t code = stream[at + 1];
        at += 2;
        if (count > 0) {
            std::uint8_t* target = place(count);
            for (unsigned i = 0; i < count; ++i)
                palette.Put(bits == 8 ? code : nibble(code, i), target + 3 * i);
        } else if (code == 0) {  // end of line
            x = 0;
            ++y;
        } else if (code == 1) {  // end of bitmap
            return;
        } else if (code == 2) {  // delta: right and up
            if (stream.size() - at < 2) return;
            x += stream[at];
            y += stream[at + 1];
            at += 2;
            if (x > width || y > height) Fail("compressed delta leaves the picture");
        } else {  // literal run of `code` pixels
            const std::size_t length = bits == 8 ? code : (code + 1u) / 2;
            if (stream.size() - at < length) return;
            std::uint8_t* target = place(code);
            const std::uint8_t* literal = stream.data() + at;
            for (unsigned i = 0; i < code; ++i)
                palette.Put(bits == 8 ? literal[i] : nibble(literal[i / 2], i), target + 3 * i);
            at = std::min(stream.size(), at + length + length % 2);
        }
    }
}

}  // namespace

Raster DecodeBmp(ByteSpan data, PictureMetadata*)
{
    const Layout layout = ReadLayout(data);
    const Palette palette = layout.paletteEntries > 0 ? ReadPalette(data, layout) : Palette();
    const std::array<Channel, 3> channels{Channel(layout.masks[0]), Channel(layout.masks[1]),
                                          Channel(layout.masks[2])};
    Raster raster(layout.width, layout.height);
    const int width = layout.width;
    switch (layout.encoding) {
    case Encoding::Rle8:
    case Encoding::Rle4:
        DecodeRle(data.subspan(layout.pixelOffset), layout.encoding == Encoding::Rle8 ? 8 : 4, palette,
                  raster);
        break;
    case Encoding::Indexed:
        ForEachRow(data, layout, raster, [&](const std::uint8_t* source, std::uint8_t* target) {
            switch (layout.bitCount) {
            case 1: IndexedRow<1>(source, width, palette, target); break;
            case 2: IndexedRow<2>(source, width, palette, target); break;
            case 4: IndexedRow<4>(source, width, palette, target); break;
            default: IndexedRow<8>(source, width, palette, target); break;
            }
        });
        break;
    case Encoding::Direct:
        ForEachRow(data, layout, raster, [&](const std::uint8_t* source, std::uint8_t* target) {
            std::memcpy(target, source, raster.Stride());
        });
        break;
    case Encoding::Masked:
        if (layout.bitCount == 32 && layout.masks == std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF}) {
            // The common layout is already blue, green, red (then a spare byte).
            ForEachRow(data, layout, raster, [&](const std::uint8_t* source, std::uint8_t* target) {
                for (int x = 0; x < width; ++x) std::memcpy(target + 3 * x, source + 4 * x, 3);
            });
        } else if (layout.bitCount == 32) {
            ForEachRow(data, layout, raster, [&](const std::uint8_t* source, std::uint8_t* target) {
                MaskedRow<4>(source, width, channels, target);
            });
        } else {
            ForEachRow(data, layout, raster, [&](const std::uint8_t* source, std::uint8_t* target) {
                MaskedRow<2>(source, width, channels, target);
            });
        }
        break;
    }
    return raster;
}

}  // namespace selvane

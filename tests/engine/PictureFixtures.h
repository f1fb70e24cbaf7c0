// Small picture files built in memory for decoder tests: BMP and GIF byte by byte, PNG
// with zlib for the image data, JPEG through libjpeg. Each fixture says exactly what the
// file holds, so tests can check decoded bytes against it.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

namespace selvane::test {

using FileBytes = std::vector<std::uint8_t>;

inline void AppendLittleEndian(FileBytes& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void AppendBigEndian(FileBytes& bytes, std::uint32_t value)
{
    for (int i = 3; i >= 0; --i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A bitmap with any header size; the colour masks go after a 40-byte header or inside a
// larger one, the colour table after them (3 bytes an entry for the 12-byte core header).
struct BmpFixture {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::array<std::uint8_t, 3>> palette{};  // red, green, blue
    std::vector<std::uint32_t> masks{};
    FileBytes pixels{};

    FileBytes Bytes() const
    {
        const bool core = headerSize == 12;
        const std::uint32_t maskBytes = headerSize == 40 ? static_cast<std::uint32_t>(4 * masks.size()) : 0;
        const std::size_t paletteBytes = (core ? 3 : 4) * palette.size();
        const auto offset = static_cast<std::uint32_t>(14 + headerSize + maskBytes + paletteBytes);
        FileBytes bytes{'B', 'M'};
        AppendLittleEndian(bytes, offset + static_cast<std::uint32_t>(pixels.size()), 4);
        AppendLittleEndian(bytes, 0, 4);
        AppendLittleEndian(bytes, offset, 4);
        AppendLittleEndian(bytes, headerSize, 4);
        if (core) {
            AppendLittleEndian(bytes, static_cast<std::uint32_t>(width), 2);
            AppendLittleEndian(bytes, static_cast<std::uint32_t>(height), 2);
        } else {
            AppendLittleEndian(bytes, static_cast<std::uint32_t>(width), 4);
            AppendLittleEndian(bytes, static_cast<std::uint32_t>(height), 4);
        }
        AppendLittleEndian(bytes, 1, 2);  // planes
        AppendLittleEndian(bytes, bitCount, 2);
        if (!core) {
            AppendLittleEndian(bytes, compression, 4);
            AppendLittleEndian(bytes, static_cast<std::uint32_t>(pixels.size()), 4);
            AppendLittleEndian(bytes, 2835, 4);  // 72 dpi each way
            AppendLittleEndian(bytes, 2835, 4);
            AppendLittleEndian(bytes, colorsUsed, 4);
            AppendLittleEndian(bytes, 0, 4);
            for (std::size_t i = 0; i < masks.size() && headerSize > 40; ++i)
                AppendLittleEndian(bytes, masks[i], 4);
            bytes.resize(14 + headerSize, 0);
            for (std::size_t i = 0; i < masks.size() && headerSize == 40; ++i)
                AppendLittleEndian(bytes, masks[i], 4);
        }
        for (const auto& entry : palette) {
            bytes.insert(bytes.end(), {entry[2], entry[1], entry[0]});
            if (!core) bytes.push_back(0);
        }
        bytes.insert(bytes.end(), pixels.begin(), pixels.end());
        return bytes;
    }
};

inline void AppendPngChunk(FileBytes& file, const char* type, const FileBytes& data)
{
    AppendBigEndian(file, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    const uLong crc = crc32(0, file.data() + start, static_cast<uInt>(file.size() - start));
    AppendBigEndian(file, static_cast<std::uint32_t>(crc));
}

// A PNG whose image data is `scanlines` (each row led by its filter byte; for an
// interlaced file, the rows of every pass in order) compressed by zlib.
struct PngFixture {
    std::uint32_t width = 1;
    std::uint32_t height = 1;
    std::uint8_t bitDepth = 8;
    std::uint8_t colourType = 2;
    bool interlaced = false;
    FileBytes palette{};       // PLTE contents (red, green, blue triples), if not empty
    FileBytes transparency{};  // tRNS contents, if not empty
    FileBytes scanlines{};
    FileBytes exif{};  // eXIf contents, if not empty

    FileBytes Bytes() const
    {
        FileBytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        FileBytes header;
        AppendBigEndian(header, width);
        AppendBigEndian(header, height);
        header.insert(header.end(),
                      {bitDepth, colourType, 0, 0, static_cast<std::uint8_t>(interlaced ? 1 : 0)});
        AppendPngChunk(file, "IHDR", header);
        if (!palette.empty()) AppendPngChunk(file, "PLTE", palette);
        if (!transparency.empty()) AppendPngChunk(file, "tRNS", transparency);
        if (!exif.empty()) AppendPngChunk(file, "eXIf", exif);
        uLongf size = compressBound(static_cast<uLong>(scanlines.size()));
        FileBytes compressed(size);
        compress(compressed.data(), &size, scanlines.data(), static_cast<uLong>(scanlines.size()));
        compressed.resize(size);
        AppendPngChunk(file, "IDAT", compressed);
        AppendPngChunk(file, "IEND", {});
        return file;
    }
};

// A GIF whose frames hold 2-bit pixel indices (0 to 3), LZW-coded with a clear code
// before every second index so that codes stay 3 bits wide.
struct GifFixture {
    struct Frame {
        std::uint16_t left = 0;
        std::uint16_t top = 0;
        std::uint16_t width = 1;
        std::uint16_t height = 1;
        bool interlaced = false;
        int transparentIndex = -1;
        FileBytes localColours{};  // red, green, blue triples; 2, 4, 8... entries or none
        FileBytes indices{};       // width * height, in the order they are stored
    };

    std::uint16_t screenWidth = 1;
    std::uint16_t screenHeight = 1;
    std::uint8_t backgroundIndex = 0;
    FileBytes globalColours{};  // as localColours
    std::vector<Frame> frames{};

    static std::uint8_t TableSizeBits(const FileBytes& colours)
    {
        std::uint8_t bits = 0;
        while ((std::size_t{2} << bits) < colours.size() / 3) ++bits;
        return colours.empty() ? 0 : static_cast<std::uint8_t>(0x80 | bits);
    }

    static FileBytes LzwData(const FileBytes& indices)
    {
        constexpr unsigned kClear = 4, kEnd = 5, kCodeBits = 3;
        FileBytes packed;
        std::uint32_t pending = 0;
        unsigned pendingBits = 0;
        const auto put = [&](unsigned code) {
            pending |= code << pendingBits;
            pendingBits += kCodeBits;
            for (; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
                packed.push_back(static_cast<std::uint8_t>(pending));
        };
        for (std::size_t i = 0; i < indices.size(); ++i) {
            if (i % 2 == 0) put(kClear);
            put(indices[i]);
        }
        put(kEnd);
        if (pendingBits > 0) packed.push_back(static_cast<std::uint8_t>(pending));
        FileBytes data{2};  // minimum code size
        for (std::size_t at = 0; at < packed.size(); at += 255) {
            const std::size_t length = std::min<std::size_t>(255, packed.size() - at);
            data.push_back(static_cast<std::uint8_t>(length));
            data.insert(data.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
                        packed.begin() + static_cast<std::ptrdiff_t>(at + length));
        }
        data.push_back(0);
        return data;
    }

    FileBytes Bytes() const
    {
        FileBytes file{'G', 'I', 'F', '8', '9', 'a'};
        AppendLittleEndian(file, screenWidth, 2);
        AppendLittleEndian(file, screenHeight, 2);
        file.insert(file.end(), {TableSizeBits(globalColours), backgroundIndex, 0});
        file.insert(file.end(), globalColours.begin(), globalColours.end());
        for (const Frame& frame : frames) {
            if (frame.transparentIndex >= 0) {
                const auto transparent = static_cast<std::uint8_t>(frame.transparentIndex);
                file.insert(file.end(), {0x21, 0xF9, 4, 1, 0, 0, transparent, 0});
            }
            file.push_back(0x2C);
            AppendLittleEndian(file, frame.left, 2);
            AppendLittleEndian(file, frame.top, 2);
            AppendLittleEndian(file, frame.width, 2);
            AppendLittleEndian(file, frame.height, 2);
            const int interlace = frame.interlaced ? 0x40 : 0;
            file.push_back(static_cast<std::uint8_t>(TableSizeBits(frame.localColours) | interlace));
            file.insert(file.end(), frame.localColours.begin(), frame.localColours.end());
            const FileBytes data = LzwData(frame.indices);
            file.insert(file.end(), data.begin(), data.end());
        }
        file.push_back(0x3B);
        return file;
    }
};

// A JPEG of `components` interleaved samples per pixel in `colourSpace`, written by
// libjpeg at `quality`. For CMYK, `adobeMarker` chooses whether the APP14 marker that
// announces inverted inks is written. A non-empty `scans` replaces the default scan
// script (and so can make the file progressive).
struct JpegFixture {
    int width = 8;
    int height = 8;
    J_COLOR_SPACE colourSpace = JCS_RGB;
    int components = 3;
    FileBytes samples{};
    int quality = 100;
    bool adobeMarker = true;
    std::vector<jpeg_scan_info> scans{};
    unsigned restartInterval = 0;  // in MCUs; 0: no restart markers
    FileBytes icc{};               // an ICC profile, in APP2 segments

    FileBytes Bytes() const
    {
        jpeg_compress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = static_cast<JDIMENSION>(width);
        info.image_height = static_cast<JDIMENSION>(height);
        info.input_components = components;
        info.in_color_space = colourSpace;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        if (colourSpace == JCS_CMYK) info.write_Adobe_marker = adobeMarker;
        info.restart_interval = restartInterval;
        if (!scans.empty()) {
            info.scan_info = scans.data();
            info.num_scans = static_cast<int>(scans.size());
        }
        jpeg_start_compress(&info, TRUE);
        if (!icc.empty()) jpeg_write_icc_profile(&info, icc.data(), static_cast<unsigned>(icc.size()));
        while (info.next_scanline < info.image_height) {
            const std::size_t rowBytes = static_cast<std::size_t>(width * components);
            JSAMPROW row = const_cast<JSAMPROW>(samples.data() + info.next_scanline * rowBytes);
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        FileBytes bytes(buffer, buffer + size);
        std::free(buffer);
        return bytes;
    }
};

// `count` pixels of the same samples.
inline FileBytes Repeated(const FileBytes& pixel, std::size_t count)
{
    FileBytes samples{};
    for (std::size_t i = 0; i < count; ++i) samples.insert(samples.end(), pixel.begin(), pixel.end());
    return samples;
}

}  // namespace selvane::test

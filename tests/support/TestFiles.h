// Temporary folders and small picture files for engine tests.
#pragma once

#include "engine/Raster.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace selvane::test {

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The whole file; empty when it cannot be read.
inline std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

inline void PutLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A bottom-up 24-bit BMP of the raster.
inline std::vector<std::uint8_t> BmpBytes(const Raster& raster)
{
    const std::size_t stride = (raster.Stride() + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> bytes(54 + stride * static_cast<std::size_t>(raster.Height()));
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLittleEndian(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    PutLittleEndian(bytes, 10, 54, 4);
    PutLittleEndian(bytes, 14, 40, 4);
    PutLittleEndian(bytes, 18, static_cast<std::uint32_t>(raster.Width()), 4);
    PutLittleEndian(bytes, 22, static_cast<std::uint32_t>(raster.Height()), 4);
    PutLittleEndian(bytes, 26, 1, 2);
    PutLittleEndian(bytes, 28, 24, 2);
    for (int y = 0; y < raster.Height(); ++y) {
        const std::uint8_t* row = raster.Row(raster.Height() - 1 - y);
        std::copy(row, row + raster.Stride(),
                  bytes.begin() + 54 + static_cast<std::ptrdiff_t>(stride * static_cast<std::size_t>(y)));
    }
    return bytes;
}

// An 8-bit RLE BMP of the given size whose pixel data ends at once: a tiny file that
// decodes to a full-size raster.
inline std::vector<std::uint8_t> EmptyRleBmpBytes(int width, int height)
{
    std::vector<std::uint8_t> bytes(54 + 4 * 2 + 2);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLittleEndian(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    PutLittleEndian(bytes, 10, 54 + 8, 4);
    PutLittleEndian(bytes, 14, 40, 4);
    PutLittleEndian(bytes, 18, static_cast<std::uint32_t>(width), 4);
    PutLittleEndian(bytes, 22, static_cast<std::uint32_t>(height), 4);
    PutLittleEndian(bytes, 26, 1, 2);
    PutLittleEndian(bytes, 28, 8, 2);
    PutLittleEndian(bytes, 30, 1, 4);  // BI_RLE8
    PutLittleEndian(bytes, 46, 2, 4);  // two palette entries
    bytes[54 + 8] = 0;
    bytes[54 + 9] = 1;  // end of bitmap
    return bytes;
}

}  // namespace selvane::test

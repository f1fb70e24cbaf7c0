// The EXIF of a HEIF or AVIF file's Exif item, which may come with what precedes its TIFF
// structure: a four-byte offset to it, then perhaps "Exif\0\0". The metadata keep the TIFF
// structure alone.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace selvane {

inline void CopyExifPayload(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& target)
{
    const auto tiffAt = [&](std::size_t at) {
        return at + 4 <= size &&
               (std::memcmp(data + at, "II*\0", 4) == 0 || std::memcmp(data + at, "MM\0*", 4) == 0);
    };
    std::size_t start = 0;
    if (!tiffAt(0) && size >= 4) {
        const std::size_t offset = std::size_t{data[0]} << 24 | std::size_t{data[1]} << 16 |
                                   std::size_t{data[2]} << 8 | std::size_t{data[3]};
        start = offset <= size - 4 ? 4 + offset : size;
        if (!tiffAt(start) && tiffAt(4 + 6)) start = 4 + 6;  // an offset that did not count "Exif\0\0"
    }
    if (tiffAt(start)) target.assign(data + start, data + size);
}

}  // namespace selvane

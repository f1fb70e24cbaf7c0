// What a picture file holds beside its pixels, as the file stores it: the colour profile,
// the photo information, and how the stored pixels must be turned to be seen upright.
#pragma once

#include <cstdint>
#include <vector>

namespace selvane {

struct PictureMetadata {
    std::vector<std::uint8_t> icc;   // ICC profile
    std::vector<std::uint8_t> exif;  // EXIF as a TIFF structure, from its byte-order mark
    std::vector<std::uint8_t> xmp;   // XMP packet
    // The turn the format itself records (TIFF's Orientation tag, JPEG XL's orientation
    // field), numbered as EXIF numbers it (1 to 8); 0 where the format records none and
    // the EXIF orientation applies. HEIF pictures come already turned by libheif: 1.
    int orientation = 0;
};

}  // namespace selvane

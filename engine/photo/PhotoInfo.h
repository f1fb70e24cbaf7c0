// The photo information (EXIF and XMP) read and rewritten through exiv2: the orientation a
// camera recorded, and the information as an output picture carries it. A hostile or
// damaged block is a PhotoInfoError, never a crash. Safe to call from several threads at
// once.
#pragma once

#include "engine/PictureMetadata.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace selvane {

class PhotoInfoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The EXIF orientation (1 to 8); 1 when there is no EXIF, no orientation or a value outside
// 1 to 8.
int ExifOrientation(std::span<const std::uint8_t> exif);

struct OutputPhotoInfo {
    std::vector<std::uint8_t> exif;  // empty when the source had none
    std::vector<std::uint8_t> xmp;
};

// What an output of width x height made from the source carries: its EXIF and XMP, with
// the orientation set to 1 when the picture was turned, the pixel dimensions set to the
// output's, no embedded thumbnail, and without the location when stripGps. Each fits
// within maxBlockBytes (what one JPEG segment holds), or this throws.
OutputPhotoInfo PhotoInfoForOutput(const PictureMetadata& source, int width, int height, bool turned,
                                   bool stripGps, std::size_t maxBlockBytes);

}  // namespace selvane

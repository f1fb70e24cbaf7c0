// Writing a picture file no larger than a number of bytes, by lowering the quality: the
// highest quality from settings.quality down to kMinQuality whose encoding takes at most
// maxBytes, found by bisection over the whole qualities (so about seven encodes in memory,
// and only the chosen one written, as WritePictureFile writes). Where the size does not grow
// steadily with the quality (WebP, AVIF and JPEG XL sizes can wobble by a few bytes from one
// step to the next), the quality found fits and the next one up does not, but a higher one may.
//
// When even kMinQuality does not fit, the file is written at kMinQuality and `fits` is
// false. Lossless settings (IsLossless) have no quality to lower: the file is written once,
// and `fits` says whether it came within the limit. Errors as WritePictureFile's.
#pragma once

#include "engine/codec/OutputFormat.h"
#include "engine/PictureMetadata.h"
#include "engine/Raster.h"

#include <cstddef>
#include <string>

namespace selvane {

inline constexpr int kMinQuality = 5;

struct LimitedEncode {
    int quality;        // the quality written
    std::size_t bytes;  // the size of the file written
    bool fits;          // whether that is at most maxBytes
};

LimitedEncode WritePictureFileWithin(const Raster& raster, const EncodeSettings& settings,
                                     std::size_t maxBytes, const std::string& path,
                                     const PictureMetadata* metadata);

}  // namespace selvane

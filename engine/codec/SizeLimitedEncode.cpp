#include "engine/codec/SizeLimitedEncode.h"

#include "engine/codec/PictureEncoder.h"

#include <algorithm>
#include <utility>

namespace selvane {

namespace {

// Finds the quality; `chosen` ends holding its encoding.
LimitedEncode Search(const Raster& raster, const EncodeSettings& settings, std::size_t maxBytes,
                     const PictureMetadata* metadata, EncodedPicture& chosen)
{
    EncodeSettings trial = settings;
    const auto encodeAt = [&](int quality) {
        trial.quality = quality;
        return EncodePicture(raster, trial, metadata);
    };
    const auto result = [&](int quality) {
        return LimitedEncode{quality, chosen.size(), chosen.size() <= maxBytes};
    };

    int tooLarge = std::max(settings.quality, kMinQuality);
    chosen = encodeAt(tooLarge);
    if (IsLossless(settings) || chosen.size() <= maxBytes || tooLarge == kMinQuality) return result(tooLarge);
    int fitting = kMinQuality;
    chosen = encodeAt(fitting);
    if (chosen.size() > maxBytes) return result(fitting);
    // fitting fits and tooLarge does not, all along.
    while (tooLarge - fitting > 1) {
        const int middle = fitting + (tooLarge - fitting) / 2;
        EncodedPicture candidate = encodeAt(middle);
        if (candidate.size() <= maxBytes) {
            fitting = middle;
            chosen = std::move(candidate);
        } else {
            tooLarge = middle;
        }
    }
    return result(fitting);
}

}  // namespace

LimitedEncode WritePictureFileWithin(const Raster& raster, const EncodeSettings& settings,
                                     std::size_t maxBytes, const std::string& path,
                                     const PictureMetadata* metadata)
{
    EncodedPicture chosen;
    const LimitedEncode limited = Search(raster, settings, maxBytes, metadata, chosen);
    WriteEncodedFile(chosen, path);
    return limited;
}

}  // namespace selvane

#include "engine/codec/PictureSize.h"

#include "engine/codec/Decoders.h"

#include <string>

namespace selvane {

void CheckPictureSize(std::int64_t width, std::int64_t height, std::string_view format)
{
    const auto size = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height <= 0) throw DecodeError(std::string(format) + ": invalid size (" + size + ")");
    // Each side is bounded first, so the product below cannot wrap.
    if (static_cast<std::uint64_t>(width) > kMaxPicturePixels ||
        static_cast<std::uint64_t>(height) > kMaxPicturePixels ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPicturePixels)
        throw DecodeError(std::string(format) + ": picture too large (" + size + " pixels)");
}

}  // namespace selvane

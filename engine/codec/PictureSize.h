// The size check every decoder makes from the header, before it allocates anything: a
// picture must have at least one pixel each way and at most kMaxPicturePixels in all.
// Sizes are taken as 64-bit values so that no product of header fields can wrap.
#pragma once

#include <cstdint>
#include <string_view>

namespace selvane {

// Throws DecodeError naming the format ("BMP", "GIF"...) and the declared size when a
// side is zero or negative, or the size is above the cap.
void CheckPictureSize(std::int64_t width, std::int64_t height, std::string_view format);

}  // namespace selvane

#include "engine/Raster.h"

#include <limits>
#include <stdexcept>

namespace selvane {

Raster::Raster(int width, int height)
{
    if (width < 0 || height < 0) throw std::length_error("negative raster size");
    const auto bytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3;
    if (bytes > std::numeric_limits<std::size_t>::max() / 2) throw std::bad_alloc();
    if (bytes > 0) pixels_.reset(new std::uint8_t[static_cast<std::size_t>(bytes)]);
    width_ = width;
    height_ = height;
}

}  // namespace selvane

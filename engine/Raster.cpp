#include "engine/Raster.h"

#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>
#include <sys/mman.h>

namespace selvane {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::uint8_t* AllocatePixels(std::size_t bytes)
{
    void* pixels;
    if (bytes >= kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
        pixels = std::aligned_alloc(kHugePage, rounded);
        // Only a hint: without transparent huge pages the memory works as usual.
        if (pixels) madvise(pixels, rounded, MADV_HUGEPAGE);
    } else {
        pixels = std::malloc(bytes);
    }
    if (!pixels) throw std::bad_alloc();
    return static_cast<std::uint8_t*>(pixels);
}

}  // namespace

void Raster::Free::operator()(std::uint8_t* pixels) const noexcept
{
    std::free(pixels);
}

Raster::Raster(int width, int height)
{
    if (width < 0 || height < 0) throw std::length_error("negative raster size");
    const auto bytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3;
    if (bytes > std::numeric_limits<std::size_t>::max() / 2) throw std::bad_alloc();
    if (bytes > 0) pixels_.reset(AllocatePixels(static_cast<std::size_t>(bytes)));
    width_ = width;
    height_ = height;
}

}  // namespace selvane

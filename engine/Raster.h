// Raster: a 24-bit picture of width x height pixels, 3 bytes each in the order blue, green,
// red, row 0 at the top. Rows are stored one after another without padding, so Row(y) is
// Data() + y * Stride(). The raster owns its pixels; contents are undefined after creation
// (nothing is zeroed, since every producer writes every pixel). Large rasters are laid on
// huge pages where the system offers them, which spares the page faults of first touch.
//
// Creation checks the size: negative sides, or more bytes than memory can be asked for,
// throw std::length_error / std::bad_alloc before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace selvane {

class Raster {
public:
    Raster() = default;
    Raster(int width, int height);

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    std::size_t Stride() const noexcept { return static_cast<std::size_t>(width_) * 3; }
    bool Empty() const noexcept { return width_ == 0 || height_ == 0; }

    std::uint8_t* Data() noexcept { return pixels_.get(); }
    const std::uint8_t* Data() const noexcept { return pixels_.get(); }
    std::uint8_t* Row(int y) noexcept { return pixels_.get() + Stride() * static_cast<std::size_t>(y); }
    const std::uint8_t* Row(int y) const noexcept
    {
        return pixels_.get() + Stride() * static_cast<std::size_t>(y);
    }

private:
    struct Free {
        void operator()(std::uint8_t* pixels) const noexcept;
    };

    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<std::uint8_t[], Free> pixels_;
};

}  // namespace selvane

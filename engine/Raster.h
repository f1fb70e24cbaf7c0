// Raster: a 24-bit picture of width x height pixels, 3 bytes each in the order blue, green,
// red, row 0 at the top. Rows are stored one after another without padding, so Row(y) is
// Data() + y * Stride(). The raster owns its pixels; contents are undefined after creation
// (nothing is zeroed, since every producer writes every pixel). Large rasters are laid on
// huge pages where the system offers them, which spares the page faults of first touch, and
// their memory is kept when they go and given to the next raster that fits: a batch of
// pictures of one size then asks the system for new (zeroed) memory only for its first.
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

    // Gives the kept memory of rasters that are gone back to the system; a batch calls it
    // when it ends, so that an idle program holds none.
    static void ReleaseSpareMemory() noexcept;
    // Calls it when it goes, however its scope ends.
    struct ReleaseSpareMemoryAtEnd {
        ReleaseSpareMemoryAtEnd() = default;
        ReleaseSpareMemoryAtEnd(const ReleaseSpareMemoryAtEnd&) = delete;
        ReleaseSpareMemoryAtEnd& operator=(const ReleaseSpareMemoryAtEnd&) = delete;
        ~ReleaseSpareMemoryAtEnd() { ReleaseSpareMemory(); }
    };

    std::uint8_t* Data() noexcept { return pixels_.get(); }
    const std::uint8_t* Data() const noexcept { return pixels_.get(); }
    std::uint8_t* Row(int y) noexcept { return pixels_.get() + Stride() * static_cast<std::size_t>(y); }
    const std::uint8_t* Row(int y) const noexcept
    {
        return pixels_.get() + Stride() * static_cast<std::size_t>(y);
    }

private:
    struct Free {
        Free() noexcept : capacity(0) {}
        explicit Free(std::size_t bytes) noexcept : capacity(bytes) {}
        void operator()(std::uint8_t* pixels) const noexcept;
        std::size_t capacity;  // the bytes allocated, at least the raster's
    };

    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<std::uint8_t[], Free> pixels_;
};

}  // namespace selvane

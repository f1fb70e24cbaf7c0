#include "engine/Raster.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <new>
#include <stdexcept>
#include <sys/mman.h>
#include <vector>

namespace selvane {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// The memory of large rasters that are gone, for the next ones. A request that none of it
// fits gives it all back before asking the system for more, so keeping it never makes the
// program larger than it would be without; the limits only bound what an odd mix of sizes
// can leave behind.
class SpareBlocks {
public:
    struct Block {
        std::uint8_t* pixels;
        std::size_t capacity;
    };
    static constexpr std::size_t kMaxBlocks = 16;
    static constexpr std::size_t kMaxBytes = std::size_t{1} << 30;

    SpareBlocks() { blocks_.reserve(kMaxBlocks); }  // so that keeping a block cannot fail

    // The smallest kept block of at least bytes, or none (and then nothing is kept).
    Block Take(std::size_t bytes) noexcept
    {
        std::array<Block, kMaxBlocks> released;
        std::size_t count = 0;
        Block found{nullptr, 0};
        {
            const std::lock_guard lock(mutex_);
            auto best = blocks_.end();
            for (auto it = blocks_.begin(); it != blocks_.end(); ++it)
                if (it->capacity >= bytes && (best == blocks_.end() || it->capacity < best->capacity))
                    best = it;
            if (best != blocks_.end()) {
                found = *best;
                blocks_.erase(best);
                kept_ -= found.capacity;
                return found;
            }
            count = blocks_.size();
            std::copy(blocks_.begin(), blocks_.end(), released.begin());
            blocks_.clear();
            kept_ = 0;
        }
        for (std::size_t i = 0; i < count; ++i) std::free(released[i].pixels);
        return found;
    }

    // Keeps the block, or frees it when the limits are reached.
    void Give(Block block) noexcept
    {
        {
            const std::lock_guard lock(mutex_);
            if (blocks_.size() < kMaxBlocks && kept_ + block.capacity <= kMaxBytes) {
                blocks_.push_back(block);
                kept_ += block.capacity;
                return;
            }
        }
        std::free(block.pixels);
    }

    void ReleaseAll() noexcept { Take(std::numeric_limits<std::size_t>::max()); }

private:
    std::mutex mutex_;
    std::vector<Block> blocks_;
    std::size_t kept_ = 0;
};

// Never destroyed: a raster may go after the other static objects.
SpareBlocks& Spare()
{
    static SpareBlocks* const spare = new SpareBlocks;
    return *spare;
}

// Returns the pixels and sets capacity to the bytes allocated.
std::uint8_t* AllocatePixels(std::size_t bytes, std::size_t& capacity)
{
    void* pixels;
    if (bytes >= kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
        const SpareBlocks::Block kept = Spare().Take(rounded);
        if (kept.pixels) {
            capacity = kept.capacity;
            return kept.pixels;
        }
        pixels = std::aligned_alloc(kHugePage, rounded);
        // Only a hint: without transparent huge pages the memory works as usual.
        if (pixels) madvise(pixels, rounded, MADV_HUGEPAGE);
        capacity = rounded;
    } else {
        pixels = std::malloc(bytes);
        capacity = bytes;
    }
    if (!pixels) throw std::bad_alloc();
    return static_cast<std::uint8_t*>(pixels);
}

}  // namespace

void Raster::Free::operator()(std::uint8_t* pixels) const noexcept
{
    if (capacity >= kHugePage) Spare().Give({pixels, capacity});
    else std::free(pixels);
}

void Raster::ReleaseSpareMemory() noexcept
{
    Spare().ReleaseAll();
}

Raster::Raster(int width, int height)
{
    if (width < 0 || height < 0) throw std::length_error("negative raster size");
    const auto bytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3;
    if (bytes > std::numeric_limits<std::size_t>::max() / 2) throw std::bad_alloc();
    if (bytes > 0) {
        std::size_t capacity = 0;
        std::uint8_t* pixels = AllocatePixels(static_cast<std::size_t>(bytes), capacity);
        pixels_ = std::unique_ptr<std::uint8_t[], Free>(pixels, Free{capacity});
    }
    width_ = width;
    height_ = height;
}

}  // namespace selvane

// A colour table of 256 entries held as blue, green, red, for the indexed formats (BMP,
// GIF). Every entry starts black and only the entries a file defines are set, so a pixel
// index beyond a short or missing table draws black and never reads past the table.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace selvane {

class Palette {
public:
    void Set(std::uint8_t index, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        entries_[index] = {blue, green, red};
    }

    // Writes the three bytes of entry `index` to `bgr`.
    void Put(std::uint8_t index, std::uint8_t* bgr) const { std::memcpy(bgr, entries_[index].data(), 3); }

    // Writes `count` pixels, one per index.
    void PutRow(const std::uint8_t* indices, std::size_t count, std::uint8_t* bgr) const
    {
        for (std::size_t i = 0; i < count; ++i) Put(indices[i], bgr + 3 * i);
    }

    // Writes `count` pixels of entry `index`.
    void Fill(std::uint8_t index, std::uint8_t* bgr, std::size_t count) const
    {
        if (count == 0) return;
        Put(index, bgr);
        // Double the filled stretch with each copy rather than storing pixel by pixel.
        std::size_t done = 1;
        while (done < count) {
            const std::size_t step = done < count - done ? done : count - done;
            std::memcpy(bgr + 3 * done, bgr, 3 * step);
            done += step;
        }
    }

private:
    std::array<std::array<std::uint8_t, 3>, 256> entries_{};
};

}  // namespace selvane

#include "engine/photo/Orientation.h"

#include <algorithm>
#include <cstring>

namespace selvane {

bool TurnsPicture(int orientation)
{
    return orientation >= 2 && orientation <= 8;
}

bool SwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

namespace {

// Where the output pixel (x, y) comes from, for an output of width x height turned from a
// stored picture.
struct SourceOf {
    int orientation, width, height;

    void operator()(int x, int y, int& sx, int& sy) const
    {
        switch (orientation) {
        case 2: sx = width - 1 - x, sy = y; break;
        case 3: sx = width - 1 - x, sy = height - 1 - y; break;
        case 4: sx = x, sy = height - 1 - y; break;
        case 5: sx = y, sy = x; break;
        case 6: sx = y, sy = width - 1 - x; break;
        case 7: sx = height - 1 - y, sy = width - 1 - x; break;
        default: sx = height - 1 - y, sy = x; break;  // 8
        }
    }
};

}  // namespace

Raster Oriented(Raster stored, int orientation)
{
    if (!TurnsPicture(orientation) || stored.Empty()) return stored;
    const bool swap = SwapsSides(orientation);
    Raster turned(swap ? stored.Height() : stored.Width(), swap ? stored.Width() : stored.Height());
    const SourceOf source{orientation, turned.Width(), turned.Height()};
    // In tiles, so that a quarter turn reads the stored picture's rows a few at a time
    // rather than one pixel from every row.
    constexpr int kTile = 64;
    for (int top = 0; top < turned.Height(); top += kTile) {
        for (int left = 0; left < turned.Width(); left += kTile) {
            const int bottom = std::min(top + kTile, turned.Height());
            const int right = std::min(left + kTile, turned.Width());
            for (int y = top; y < bottom; ++y) {
                std::uint8_t* out = turned.Row(y) + 3 * left;
                for (int x = left; x < right; ++x, out += 3) {
                    int sx = 0, sy = 0;
                    source(x, y, sx, sy);
                    std::memcpy(out, stored.Row(sy) + 3 * sx, 3);
                }
            }
        }
    }
    return turned;
}

}  // namespace selvane

// Small rasters for engine tests, built from and compared as plain byte rows.
#pragma once

#include "engine/Raster.h"

#include <cstdint>
#include <random>
#include <vector>

namespace selvane::test {

// A raster whose every channel of pixel (x, y) is values[y][x].
inline Raster GreyRaster(const std::vector<std::vector<std::uint8_t>>& values)
{
    Raster raster(static_cast<int>(values.empty() ? 0 : values[0].size()), static_cast<int>(values.size()));
    for (int y = 0; y < raster.Height(); ++y)
        for (int x = 0; x < raster.Width(); ++x)
            for (int c = 0; c < 3; ++c)
                raster.Row(y)[3 * x + c] = values[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    return raster;
}

// The first channel of each pixel, row by row.
inline std::vector<std::vector<std::uint8_t>> BlueValues(const Raster& raster)
{
    std::vector<std::vector<std::uint8_t>> values(static_cast<std::size_t>(raster.Height()));
    for (int y = 0; y < raster.Height(); ++y)
        for (int x = 0; x < raster.Width(); ++x)
            values[static_cast<std::size_t>(y)].push_back(raster.Row(y)[3 * x]);
    return values;
}

inline Raster RandomRaster(int width, int height, unsigned seed)
{
    Raster raster(width, height);
    std::mt19937 random(seed);
    for (std::size_t i = 0; i < raster.Stride() * static_cast<std::size_t>(height); ++i)
        raster.Data()[i] = static_cast<std::uint8_t>(random());
    return raster;
}

inline std::vector<std::uint8_t> Bytes(const Raster& raster)
{
    return {raster.Data(), raster.Data() + raster.Stride() * static_cast<std::size_t>(raster.Height())};
}

}  // namespace selvane::test

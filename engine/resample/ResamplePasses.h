// The two passes of the resampler, straightforward scalar versions. They are the reference
// that faster kernels must match bit for bit: for every output byte, a float sum starts at
// 0 and adds byte x weight for each tap in list order, each product exact and the sum
// rounded to float after every addition (one fused multiply-add per tap); the sum is then
// clamped to 0 .. 255 and rounded to the nearest integer, ties to even.
#pragma once

#include "engine/Raster.h"
#include "engine/resample/Contributors.h"

#include <cmath>
#include <cstdint>

namespace selvane {

inline std::uint8_t ClampToByte(float sum)
{
    if (sum > 255.0f) return 255;
    if (sum < 0.0f) return 0;
    return static_cast<std::uint8_t>(std::nearbyint(sum));  // the default mode: ties to even
}

// Every row of source to the width of lists; target is lists.Count() x source height.
void ResampleRowsScalar(const Raster& source, Raster& target, const ContributorLists& lists);
// Every column of source to the height of lists; target is source width x lists.Count().
void ResampleColumnsScalar(const Raster& source, Raster& target, const ContributorLists& lists);

// The same passes with SIMD on the best target the CPU offers; identical results.
void ResampleRowsSimd(const Raster& source, Raster& target, const ContributorLists& lists);
void ResampleColumnsSimd(const Raster& source, Raster& target, const ContributorLists& lists);

}  // namespace selvane

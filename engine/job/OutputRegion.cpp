#include "engine/job/OutputRegion.h"

#include "engine/resample/Resampler.h"

#include <algorithm>
#include <cstring>

namespace selvane {

namespace {

// The start of a span of length along a side of total, centred on centre where it fits.
int SpanStart(int centre, int length, int total)
{
    return std::clamp(centre - length / 2, 0, total - length);
}

}  // namespace

OutputRegionRect RegionAround(int x, int y, int outputWidth, int outputHeight, int side)
{
    const int width = std::min(side, outputWidth);
    const int height = std::min(side, outputHeight);
    return {SpanStart(x, width, outputWidth), SpanStart(y, height, outputHeight), width, height};
}

Raster MakeOutputRegion(const Raster& picture, const OutputSize& size, const SizeOptions& sizeOptions,
                        const FilterEntry& filter, const OutputRegionRect& region)
{
    Raster part(region.width, region.height);
    if (KeepsOwnPixels(sizeOptions, picture.Width(), picture.Height(), size)) {
        // The job writes such a picture as it is.
        for (int y = 0; y < region.height; ++y)
            std::memcpy(part.Row(y), picture.Row(region.top + y) + static_cast<std::size_t>(region.left) * 3,
                        part.Stride());
        return part;
    }
    ResampleRegion(picture, part, static_cast<int>(size.width), static_cast<int>(size.height), region.left,
                   region.top, filter.WeightFunc, filter.Support);
    return part;
}

}  // namespace selvane

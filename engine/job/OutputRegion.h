// One region of a picture's output as the image job makes it, without making the rest of
// the output: for a view of the output at 100 % under each filter.
#pragma once

#include "engine/job/SizeRules.h"
#include "engine/Raster.h"
#include "engine/resample/FilterTable.h"

namespace selvane {

struct OutputRegionRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The side x side square of an outputWidth x outputHeight output centred as near (x, y)
// as the output allows; the whole output along a side shorter than side.
OutputRegionRect RegionAround(int x, int y, int outputWidth, int outputHeight, int side);

// The pixels in region of the size x size output that the job makes of picture (as seen:
// upright, colours converted) under sizeOptions and filter. region lies inside the output.
Raster MakeOutputRegion(const Raster& picture, const OutputSize& size, const SizeOptions& sizeOptions,
                        const FilterEntry& filter, const OutputRegionRect& region);

}  // namespace selvane

// The two-pass resampler: every source row is resampled to the destination width, into
// intermediate rows of bytes, then every column of those to the destination height.
// Deterministic to the bit on every machine (see ResamplePasses.h for the arithmetic). The
// rows pass runs a band of rows ahead of the columns pass, so that the intermediate rows are
// kept in a ring only as long as an output row still reads them: besides the source and the
// destination, a call needs a few dozen rows of the destination's width (all the source's
// rows only when one output row reads the whole source).
//
// Errors: a source side below 1 throws ResampleError("Source bitmap too small") before
// anything is allocated; exhausted memory throws std::bad_alloc. A destination with a side
// of 0 is left as it is (there is nothing to write).
#pragma once

#include "engine/Raster.h"
#include "engine/resample/FilterTable.h"

#include <functional>
#include <stdexcept>

namespace selvane {

class ResampleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ResampleKernels {
    Simd,    // the fastest target the CPU offers
    Scalar,  // the straightforward reference the SIMD kernels are tested against
};

// Writes every pixel of destination, whose size the caller has set, from source. A source
// still being filled in gives awaitRows, which is called with n before rows 0 .. n - 1 are
// read and returns once they are there (or throws, which the call passes on).
void ResampleRaster(const Raster& source, Raster& destination, FilterFunction filter, float support,
                    ResampleKernels kernels = ResampleKernels::Simd,
                    const std::function<void(int)>& awaitRows = {});

// Writes the part of the outputWidth x outputHeight destination that ResampleRaster would
// make whose top-left corner is (left, top): pixel (x, y) of part is pixel (left + x, top +
// y) of that destination, bit for bit. part's size is set by the caller and lies inside the
// destination; only the source rows that part reads are resampled across.
void ResampleRegion(const Raster& source, Raster& part, int outputWidth, int outputHeight, int left, int top,
                    FilterFunction filter, float support);

// The picture the decoders produce is already a 24-bit raster, so it is resampled directly,
// without a rendered copy.
inline void ResamplePicture(const Raster& picture, Raster& destination, FilterFunction filter, float support)
{
    ResampleRaster(picture, destination, filter, support);
}

}  // namespace selvane

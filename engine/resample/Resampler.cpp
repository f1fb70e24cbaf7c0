#include "engine/resample/Resampler.h"

#include "engine/resample/Contributors.h"
#include "engine/resample/ResamplePasses.h"

namespace selvane {

void ResampleRaster(const Raster& source, Raster& destination, FilterFunction filter, float support,
                    ResampleKernels kernels)
{
    const int width = destination.Width();
    const int height = destination.Height();
    if (source.Width() < 1 || source.Height() < 1) throw ResampleError("Source bitmap too small");
    if (width < 1 || height < 1) return;

    Raster intermediate(width, source.Height());
    {
        const ContributorLists columns(source.Width(), width, filter, support);
        if (kernels == ResampleKernels::Simd) ResampleRowsSimd(source, intermediate, columns);
        else ResampleRowsScalar(source, intermediate, columns);
    }
    const ContributorLists rows(source.Height(), height, filter, support);
    if (kernels == ResampleKernels::Simd) ResampleColumnsSimd(intermediate, destination, rows);
    else ResampleColumnsScalar(intermediate, destination, rows);
}

}  // namespace selvane

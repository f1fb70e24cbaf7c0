#include "engine/resample/ResamplePasses.h"

#include <vector>

namespace selvane {

void ResampleColumnsScalar(const Raster& source, Raster& target, const ContributorLists& lists)
{
    // A whole output row is summed at once, tap by tap, so source rows are read in order;
    // each byte's sum still adds its taps in list order.
    std::vector<float> sums(source.Stride());
    for (int y = 0; y < lists.Count(); ++y) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        for (const Contributor& tap : lists.List(y)) {
            const std::uint8_t* in = source.Row(tap.Pixel);
            for (std::size_t k = 0; k < sums.size(); ++k)
                sums[k] = std::fma(static_cast<float>(in[k]), tap.Weight, sums[k]);
        }
        std::uint8_t* out = target.Row(y);
        for (std::size_t k = 0; k < sums.size(); ++k) out[k] = ClampToByte(sums[k]);
    }
}

}  // namespace selvane

#include "engine/resample/ResamplePasses.h"

namespace selvane {

void ResampleRowsScalar(const Raster& source, Raster& target, const ContributorLists& lists)
{
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.Row(y);
        std::uint8_t* out = target.Row(y);
        for (int x = 0; x < lists.Count(); ++x) {
            float blue = 0.0f, green = 0.0f, red = 0.0f;
            for (const Contributor& tap : lists.List(x)) {
                const std::uint8_t* pixel = in + 3 * static_cast<std::size_t>(tap.Pixel);
                blue = std::fma(static_cast<float>(pixel[0]), tap.Weight, blue);
                green = std::fma(static_cast<float>(pixel[1]), tap.Weight, green);
                red = std::fma(static_cast<float>(pixel[2]), tap.Weight, red);
            }
            out[3 * x + 0] = ClampToByte(blue);
            out[3 * x + 1] = ClampToByte(green);
            out[3 * x + 2] = ClampToByte(red);
        }
    }
}

}  // namespace selvane

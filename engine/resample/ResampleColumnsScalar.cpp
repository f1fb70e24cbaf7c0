#include "engine/resample/ResamplePasses.h"

namespace selvane {

void ResampleColumnScalar(std::span<const std::uint8_t* const> rows, std::span<const float> weights,
                          std::size_t samples, std::uint8_t* out)
{
    for (std::size_t s = 0; s < samples; ++s) {
        float sum = 0.0f;
        for (std::size_t k = 0; k < rows.size(); ++k)
            sum = std::fma(static_cast<float>(rows[k][s]), weights[k], sum);
        out[s] = ClampToByte(sum);
    }
}

void ResampleColumnPairScalar(const ColumnPair& pair, std::size_t samples, std::uint8_t* const* out)
{
    for (std::size_t i = 0; i < ColumnPair::kOutputs; ++i)
        ResampleColumnScalar(pair.rows.subspan(pair.starts[i], pair.weights[i].size()), pair.weights[i],
                             samples, out[i]);
}

}  // namespace selvane

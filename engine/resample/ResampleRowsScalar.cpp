#include "engine/resample/ResamplePasses.h"

namespace selvane {

namespace {

class ScalarRowsPass : public RowsPass {
public:
    explicit ScalarRowsPass(const ContributorLists& lists) : lists_(lists) {}

    void Resample(const std::uint8_t* const* in, std::uint8_t* const* out, int rows) override
    {
        for (int r = 0; r < rows; ++r) {
            for (int x = 0; x < lists_.Count(); ++x) {
                float blue = 0.0f, green = 0.0f, red = 0.0f;
                for (const Contributor& tap : lists_.List(x)) {
                    const std::uint8_t* pixel = in[r] + 3 * static_cast<std::size_t>(tap.Pixel);
                    blue = std::fma(static_cast<float>(pixel[0]), tap.Weight, blue);
                    green = std::fma(static_cast<float>(pixel[1]), tap.Weight, green);
                    red = std::fma(static_cast<float>(pixel[2]), tap.Weight, red);
                }
                out[r][3 * x + 0] = ClampToByte(blue);
                out[r][3 * x + 1] = ClampToByte(green);
                out[r][3 * x + 2] = ClampToByte(red);
            }
        }
    }

private:
    const ContributorLists& lists_;
};

}  // namespace

std::unique_ptr<RowsPass> MakeRowsPassScalar(const ContributorLists& lists, std::size_t /*sourceSamples*/)
{
    return std::make_unique<ScalarRowsPass>(lists);
}

}  // namespace selvane

// The memory of large rasters that are gone goes to the next raster that fits, and never to
// two rasters at once.
#include "engine/Raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace selvane {
namespace {

class RasterMemory : public ::testing::Test {
protected:
    void SetUp() override { Raster::ReleaseSpareMemory(); }
    void TearDown() override { Raster::ReleaseSpareMemory(); }
};

TEST_F(RasterMemory, GoesToTheNextRasterThatFits)
{
    const std::uint8_t* first;
    {
        const Raster picture(2000, 1500);
        first = picture.Data();
    }
    const Raster smaller(1900, 1400);
    EXPECT_EQ(smaller.Data(), first);
    const Raster larger(3000, 2000);  // none kept fits: new memory
    EXPECT_NE(larger.Data(), first);
}

TEST_F(RasterMemory, IsNeverSharedByLiveRasters)
{
    // Pictures and outputs of mixed sizes, going in another order than they came.
    const int sizes[][2] = {{2000, 1500}, {1000, 750}, {4000, 3000}, {1000, 750}, {2000, 1500}, {800, 1200}};
    std::vector<Raster> live;
    std::vector<std::uint8_t> marks;  // what each live raster's first rows were filled with
    std::uint8_t mark = 0;
    for (int round = 0; round < 3; ++round) {
        for (const auto& size : sizes) {
            live.emplace_back(size[0], size[1]);
            marks.push_back(++mark);
            std::fill_n(live.back().Data(), live.back().Stride() * 4, mark);
        }
        std::vector<std::pair<const std::uint8_t*, const std::uint8_t*>> ranges;
        for (const Raster& raster : live)
            ranges.emplace_back(raster.Data(),
                                raster.Data() + raster.Stride() * static_cast<std::size_t>(raster.Height()));
        std::sort(ranges.begin(), ranges.end());
        for (std::size_t i = 1; i < ranges.size(); ++i) EXPECT_LE(ranges[i - 1].second, ranges[i].first);
        for (std::size_t i = 0; i < live.size(); ++i) EXPECT_EQ(live[i].Row(3)[0], marks[i]);
        // Every second one goes, the rest stay for the next round.
        for (std::size_t i = live.size(); i-- > 0;)
            if (i % 2 == static_cast<std::size_t>(round % 2)) {
                live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
                marks.erase(marks.begin() + static_cast<std::ptrdiff_t>(i));
            }
    }
}

}  // namespace
}  // namespace selvane

#include "engine/job/OverlappedDecode.h"

#include "engine/resample/Resampler.h"

#include <atomic>
#include <climits>
#include <thread>

namespace selvane {

namespace {

struct DecodeFailed {};

}  // namespace

bool DecodeJpegWhileResampling(ByteSpan jpeg, Raster& picture, Raster& output, const FilterEntry& filter)
{
    // Rows decoded so far; INT_MAX once the decoder has stopped, whether done or failed.
    std::atomic<int> rows{0};
    std::atomic<bool> failed{false};
    std::jthread decoder([&] {
        try {
            DecodeJpegInto(jpeg, picture, [&](int done) {
                rows.store(done);
                rows.notify_one();
            });
        } catch (...) {  // a decode error or exhausted memory: the picture cannot be opened
            failed.store(true);
        }
        rows.store(INT_MAX);
        rows.notify_one();
    });
    const auto awaitRows = [&](int needed) {
        for (int have = rows.load(); have < needed; have = rows.load()) rows.wait(have);
        if (failed.load()) throw DecodeFailed{};
    };
    try {
        ResampleRaster(picture, output, filter.WeightFunc, filter.Support, ResampleKernels::Simd, awaitRows);
    } catch (const DecodeFailed&) {}
    decoder.join();
    return !failed.load();
}

}  // namespace selvane

#include "engine/job/OverlappedDecode.h"

#include "engine/resample/Resampler.h"

#include <atomic>
#include <climits>
#include <system_error>
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
    const auto decode = [&] {
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
    };
    std::jthread decoder;
    try {
        decoder = std::jthread(decode);
    } catch (const std::system_error&) {  // no thread to be had: decode first, then resample
        decode();
    }
    const auto awaitRows = [&](int needed) {
        for (int have = rows.load(); have < needed; have = rows.load()) rows.wait(have);
        if (failed.load()) throw DecodeFailed{};
    };
    try {
        ResampleRaster(picture, output, filter.WeightFunc, filter.Support, ResampleKernels::Simd, awaitRows);
    } catch (const DecodeFailed&) {}
    if (decoder.joinable()) decoder.join();
    return !failed.load();
}

}  // namespace selvane

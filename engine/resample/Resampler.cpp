#include "engine/resample/Resampler.h"

#include "engine/resample/Contributors.h"
#include "engine/resample/ResamplePasses.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace selvane {

namespace {

constexpr int kBand = RowsPass::kBandRows;
constexpr int kTogether = static_cast<int>(ColumnPair::kOutputs);

// The columns pass takes the output rows two at a time (ColumnPair), so the rows pass runs
// ahead far enough for both.
int LastRowRead(const ContributorLists& lists, int y)
{
    int last = 0;
    for (int row = y; row < std::min(y + kTogether, lists.Count()); ++row)
        for (const Contributor& tap : lists.List(row)) last = std::max(last, tap.Pixel);
    return last;
}

// The rows pass runs a band of source rows ahead of the columns pass, into a ring of
// intermediate rows (row r in slot r mod the ring's size), so that its rows are read back
// while they are still in the cache and the whole intermediate raster never exists. The ring
// must hold every row from the lowest one that the current or a later output row reads up
// to the last row produced; this works out how many that is at most, for bands from row
// first on.
int RingRows(const ContributorLists& lists, int sourceHeight, int first)
{
    const int count = lists.Count();
    std::vector<int> lowestStillRead(static_cast<std::size_t>(count) + 1, std::numeric_limits<int>::max());
    for (int y = count - 1; y >= 0; --y) {
        int lowest = lowestStillRead[static_cast<std::size_t>(y) + 1];
        for (const Contributor& tap : lists.List(y)) lowest = std::min(lowest, tap.Pixel);
        lowestStillRead[static_cast<std::size_t>(y)] = lowest;
    }
    int produced = first, ring = kBand;  // a band never shares a slot with itself
    for (int y = 0; y < count; y += kTogether) {
        while (produced <= LastRowRead(lists, y)) produced = std::min(produced + kBand, sourceHeight);
        ring = std::max(ring, produced - std::min(lowestStillRead[static_cast<std::size_t>(y)], produced));
    }
    return std::min(ring, std::max(sourceHeight, kBand));
}

// Resamples source into destination along the given lists: columns.Count() x rows.Count()
// pixels.
void ResampleAlong(const Raster& source, Raster& destination, const ContributorLists& columns,
                   const ContributorLists& rows, ResampleKernels kernels,
                   const std::function<void(int)>& awaitRows)
{
    const int width = columns.Count();
    const int height = rows.Count();
    const bool simd = kernels == ResampleKernels::Simd;
    const auto rowsPass =
        simd ? MakeRowsPassSimd(columns, source.Stride()) : MakeRowsPassScalar(columns, source.Stride());
    const auto resampleColumn = simd ? ResampleColumnSimd : ResampleColumnScalar;
    const auto resamplePair = simd ? ResampleColumnPairSimd : ResampleColumnPairScalar;

    // The lowest source row read: 0 for a whole destination, later for a part of one.
    int firstRow = source.Height() - 1;
    for (int y = 0; y < height; ++y)
        for (const Contributor& tap : rows.List(y)) firstRow = std::min(firstRow, tap.Pixel);
    const int ringRows = RingRows(rows, source.Height(), firstRow);
    Raster ring(width, ringRows);
    const auto slot = [&](int row) { return ring.Row(row % ringRows); };

    int produced = firstRow;
    const auto produce = [&](int lastRow) {
        while (produced <= lastRow) {
            const int band = std::min(kBand, source.Height() - produced);
            if (awaitRows) awaitRows(produced + band);
            const std::uint8_t* in[kBand];
            std::uint8_t* out[kBand];
            for (int r = 0; r < band; ++r) {
                in[r] = source.Row(produced + r);
                out[r] = slot(produced + r);
            }
            rowsPass->Resample(in, out, band);
            produced += band;
        }
    };

    // Two output rows whose taps are rows in order, the second's starting where or after the
    // first's starts and no later than where it ends, and ending where or after it ends, are
    // laid out as one window of rows with each one's weights (zero for the rows it skips,
    // which adds exactly 0) and summed together.
    const std::size_t room = static_cast<std::size_t>(std::max(rows.MaxTaps(), source.Height()));
    std::vector<const std::uint8_t*> taps(room);
    std::vector<float> weights(ColumnPair::kOutputs * room);
    const auto windowPair = [&](int y) {
        std::optional<ColumnPair> pair;
        ColumnPair laidOut{};
        const int first = rows.List(y).front().Pixel, firstEnd = rows.List(y).back().Pixel + 1;
        int lastStart = first, lastEnd = first;
        for (std::size_t i = 0; i < ColumnPair::kOutputs; ++i) {
            const auto list = rows.List(y + static_cast<int>(i));
            const int start = list.front().Pixel, end = list.back().Pixel + 1;
            if (!InOrder(list) || start < lastStart || end < lastEnd || start > firstEnd) return pair;
            lastStart = start;
            lastEnd = end;
            float* own = weights.data() + i * room;
            std::fill_n(own, end - start, 0.0f);
            for (const Contributor& tap : list) own[tap.Pixel - start] = tap.Weight;
            laidOut.starts[i] = static_cast<std::size_t>(start - first);
            laidOut.weights[i] = std::span(own, static_cast<std::size_t>(end - start));
        }
        const auto size = static_cast<std::size_t>(lastEnd - first);
        for (std::size_t k = 0; k < size; ++k) taps[k] = slot(first + static_cast<int>(k));
        laidOut.rows = std::span(taps.data(), size);
        pair = laidOut;
        return pair;
    };
    const auto resampleList = [&](int y) {
        const auto list = rows.List(y);
        for (std::size_t k = 0; k < list.size(); ++k) {
            taps[k] = slot(list[k].Pixel);
            weights[k] = list[k].Weight;
        }
        resampleColumn(std::span(taps.data(), list.size()), std::span(weights.data(), list.size()),
                       destination.Stride(), destination.Row(y));
    };

    for (int y = 0; y < height; y += kTogether) {
        produce(LastRowRead(rows, y));
        if (y + 1 == height) {
            resampleList(y);
        } else if (const auto pair = windowPair(y)) {
            std::uint8_t* out[ColumnPair::kOutputs] = {destination.Row(y), destination.Row(y + 1)};
            resamplePair(*pair, destination.Stride(), out);
        } else {
            resampleList(y);
            resampleList(y + 1);
        }
    }
}

}  // namespace

void ResampleRaster(const Raster& source, Raster& destination, FilterFunction filter, float support,
                    ResampleKernels kernels, const std::function<void(int)>& awaitRows)
{
    if (source.Width() < 1 || source.Height() < 1) throw ResampleError("Source bitmap too small");
    if (destination.Width() < 1 || destination.Height() < 1) return;
    const ContributorLists columns(source.Width(), destination.Width(), filter, support);
    const ContributorLists rows(source.Height(), destination.Height(), filter, support);
    ResampleAlong(source, destination, columns, rows, kernels, awaitRows);
}

void ResampleRegion(const Raster& source, Raster& part, int outputWidth, int outputHeight, int left, int top,
                    FilterFunction filter, float support)
{
    if (source.Width() < 1 || source.Height() < 1) throw ResampleError("Source bitmap too small");
    if (part.Width() < 1 || part.Height() < 1) return;
    const ContributorLists columns(ContributorLists(source.Width(), outputWidth, filter, support), left,
                                   part.Width());
    const ContributorLists rows(ContributorLists(source.Height(), outputHeight, filter, support), top,
                                part.Height());
    ResampleAlong(source, part, columns, rows, ResampleKernels::Simd, {});
}

}  // namespace selvane

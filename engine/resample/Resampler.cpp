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

// The columns pass takes the output rows two at a time (ColumnPair), so the rows pass runs
// ahead far enough for both.
int LastRowRead(const ContributorLists& lists, int y)
{
    int last = 0;
    for (int row = y; row < std::min(y + 2, lists.Count()); ++row)
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
    for (int y = 0; y < count; y += 2) {
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

    // Two output rows whose taps are rows in order, the second's starting at most just past
    // the first's end, are laid out as one window of rows with each one's weights (zero for
    // the rows it skips, which adds exactly 0) and summed together.
    const std::size_t room = static_cast<std::size_t>(std::max(rows.MaxTaps(), source.Height()));
    std::vector<const std::uint8_t*> taps(room);
    std::vector<float> weights(2 * room);
    const auto windowPair = [&](std::span<const Contributor> one, std::span<const Contributor> two) {
        std::optional<ColumnPair> pair;
        if (!InOrder(one) || !InOrder(two)) return pair;
        const int first = one.front().Pixel, firstEnd = one.back().Pixel + 1, secondStart = two.front().Pixel;
        if (secondStart < first || secondStart > firstEnd) return pair;
        const auto size = static_cast<std::size_t>(std::max(firstEnd, two.back().Pixel + 1) - first);
        float* firstWeights = weights.data();
        float* secondWeights = weights.data() + room;
        std::fill_n(firstWeights, size, 0.0f);
        std::fill_n(secondWeights, size, 0.0f);
        for (std::size_t k = 0; k < size; ++k) taps[k] = slot(first + static_cast<int>(k));
        for (const Contributor& tap : one) firstWeights[tap.Pixel - first] = tap.Weight;
        for (const Contributor& tap : two) secondWeights[tap.Pixel - secondStart] = tap.Weight;
        const auto start = static_cast<std::size_t>(secondStart - first);
        pair = ColumnPair{std::span(taps.data(), size),
                          std::span(firstWeights, static_cast<std::size_t>(firstEnd - first)), start,
                          std::span(secondWeights, size - start)};
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

    for (int y = 0; y < height; y += 2) {
        produce(LastRowRead(rows, y));
        if (y + 1 == height) {
            resampleList(y);
        } else if (const auto pair = windowPair(rows.List(y), rows.List(y + 1))) {
            resamplePair(*pair, destination.Stride(), destination.Row(y), destination.Row(y + 1));
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

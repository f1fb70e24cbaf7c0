// ResampleRaster on camera-sized rasters: a 12 MP shrink by 2 and a 3 MP enlarge by 2, for
// every filter, with the scalar reference and the SIMD kernels; and ResampleRegion making the
// 256 x 256 part of the 12 MP shrink that "Compare filters" shows, against which the whole
// shrink is the cost of making the full output to crop it.
#include "engine/resample/Resampler.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

using selvane::FilterTable;
using selvane::Raster;
using selvane::ResampleKernels;

Raster NoiseRaster(int width, int height)
{
    Raster raster(width, height);
    std::mt19937 random(1);
    for (std::size_t i = 0; i < raster.Stride() * static_cast<std::size_t>(height); ++i)
        raster.Data()[i] = static_cast<std::uint8_t>(random());
    return raster;
}

void Resample(benchmark::State& state, int width, int outWidth, int outHeight)
{
    const auto& filter = FilterTable[static_cast<std::size_t>(state.range(0))];
    const auto kernels = static_cast<ResampleKernels>(state.range(1));
    static const Raster source12 = NoiseRaster(4000, 3000);
    static const Raster source3 = NoiseRaster(2000, 1500);
    const Raster& source = width == 4000 ? source12 : source3;
    Raster destination(outWidth, outHeight);
    for (auto _ : state) {
        selvane::ResampleRaster(source, destination, filter.WeightFunc, filter.Support, kernels);
        benchmark::DoNotOptimize(destination.Data());
    }
    state.SetLabel(std::string(filter.Name) + (kernels == ResampleKernels::Simd ? " simd" : " scalar"));
}

void Shrink12MegapixelsByTwo(benchmark::State& state)
{
    Resample(state, 4000, 2000, 1500);
}
void Enlarge3MegapixelsByTwo(benchmark::State& state)
{
    Resample(state, 2000, 4000, 3000);
}

void RegionOf12MegapixelsByTwo(benchmark::State& state)
{
    const auto& filter = FilterTable[static_cast<std::size_t>(state.range(0))];
    static const Raster source = NoiseRaster(4000, 3000);
    Raster part(256, 256);
    for (auto _ : state) {
        selvane::ResampleRegion(source, part, 2000, 1500, 872, 622, filter.WeightFunc, filter.Support);
        benchmark::DoNotOptimize(part.Data());
    }
    state.SetLabel(std::string(filter.Name));
}

void EveryFilterAndKernel(benchmark::internal::Benchmark* benchmark)
{
    for (int filter = 0; filter < selvane::kFilterCount; ++filter)
        for (auto kernels : {ResampleKernels::Scalar, ResampleKernels::Simd})
            benchmark->Args({filter, static_cast<int>(kernels)});
    benchmark->Unit(benchmark::kMillisecond)->MinTime(0.5);
}

BENCHMARK(Shrink12MegapixelsByTwo)->Apply(EveryFilterAndKernel);
BENCHMARK(Enlarge3MegapixelsByTwo)->Apply(EveryFilterAndKernel);
BENCHMARK(RegionOf12MegapixelsByTwo)->DenseRange(0, selvane::kFilterCount - 1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

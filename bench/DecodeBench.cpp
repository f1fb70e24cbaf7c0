// Decode time of one picture per format, the whole file in memory, through the decoder the
// image job uses. The pictures are made by bench/decode-pictures (the same 12-megapixel
// photo in every format); the folder is the one argument left after Google Benchmark's own.
// Usage: selvane-decode-bench [--benchmark_...] FOLDER
#include "engine/codec/PictureLoader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Format {
    const char* file;
    selvane::PictureDecoder decode;
};

// Baseline JPEG first: the figure the others are compared with.
const Format kFormats[] = {
    {"photo.jpg", selvane::DecodeJpeg},           {"photo-lossy.webp", selvane::DecodeWebp},
    {"photo-lossless.webp", selvane::DecodeWebp}, {"photo-lzw.tif", selvane::DecodeTiff},
    {"photo.avif", selvane::DecodeAvif},          {"photo.heic", selvane::DecodeHeif},
    {"photo-lossy.jxl", selvane::DecodeJxl},      {"photo-lossless.jxl", selvane::DecodeJxl},
};

void Decode(benchmark::State& state, const std::vector<std::uint8_t>& bytes, const Format& format)
{
    for (auto _ : state) {
        selvane::PictureMetadata metadata;  // as the image job decodes
        selvane::Raster picture = format.decode(bytes, &metadata);
        benchmark::DoNotOptimize(picture.Data());
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s [benchmark options] FOLDER\n", argv[0]);
        return 2;
    }
    static std::vector<std::vector<std::uint8_t>> files;
    files.reserve(std::size(kFormats));
    for (const Format& format : kFormats) {
        const std::filesystem::path path = std::filesystem::path(argv[1]) / format.file;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "missing %s\n", path.c_str());
            return 2;
        }
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        benchmark::RegisterBenchmark(format.file, Decode, std::cref(files.back()), std::cref(format))
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

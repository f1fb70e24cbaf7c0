// Writes photo-like test pictures for the benchmarks: smooth shading, fine texture, sensor
// noise and a few hard edges, so that JPEG sizes and decoding costs resemble camera shots.
// Usage: selvane-make-photos FOLDER COUNT WIDTH HEIGHT QUALITY
#include "engine/codec/JpegEncoder.h"
#include "engine/Raster.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

selvane::Raster MakePhoto(int width, int height, unsigned seed)
{
    selvane::Raster raster(width, height);
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.0f, 3.0f);
    const float phase = static_cast<float>(seed) * 0.7f;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = raster.Row(y);
        const float v = static_cast<float>(y) / static_cast<float>(height);
        for (int x = 0; x < width; ++x) {
            const float u = static_cast<float>(x) / static_cast<float>(width);
            const float shade = 110.0f + 60.0f * std::sin(3.1f * u + phase) * std::cos(2.3f * v - phase);
            const float texture = 18.0f *
                                  std::sin(0.21f * static_cast<float>(x) + 0.05f * static_cast<float>(y)) *
                                  std::sin(0.17f * static_cast<float>(y) - 0.03f * static_cast<float>(x));
            const bool edge = ((x / 397 + y / 311) % 3) == 0;
            for (int c = 0; c < 3; ++c) {
                float value = shade + texture * (0.6f + 0.2f * static_cast<float>(c)) + noise(random) +
                              (edge ? 40.0f - 25.0f * static_cast<float>(c) : 0.0f);
                row[3 * x + c] = static_cast<std::uint8_t>(std::fmin(255.0f, std::fmax(0.0f, value)));
            }
        }
    }
    return raster;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT WIDTH HEIGHT QUALITY\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const int count = std::stoi(argv[2]), width = std::stoi(argv[3]), height = std::stoi(argv[4]);
    const int quality = std::stoi(argv[5]);
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/photo-%02d.jpg", i + 1);
        selvane::WriteJpegFile(MakePhoto(width, height, static_cast<unsigned>(i + 1)), quality,
                               folder + name);
    }
    return 0;
}

// The work that no resizer of these pictures can skip, timed like the tools it is set
// against: each picture is read and decoded at full size and an output-sized picture is
// encoded and written, with the same decoder and encoder (and settings) as the image job.
// The encoded pixels are the output-sized top-left corner of the decoded picture, so that
// the encoder sees photo content; copying that corner is the only work here that a resizer
// would not also do (about 1 % of the total).
// Usage: selvane-codec-floor OUTPUT_FOLDER WIDTH HEIGHT QUALITY PICTURE...
#include "engine/codec/JpegEncoder.h"
#include "engine/codec/PictureLoader.h"
#include "engine/Raster.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER WIDTH HEIGHT QUALITY PICTURE...\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int width = std::stoi(argv[2]), height = std::stoi(argv[3]), quality = std::stoi(argv[4]);
    for (int i = 5; i < argc; ++i) {
        const selvane::Raster picture = selvane::LoadPicture(argv[i]);
        if (picture.Width() < width || picture.Height() < height) {
            std::fprintf(stderr, "%s: smaller than %d x %d\n", argv[i], width, height);
            return 1;
        }
        selvane::Raster corner(width, height);
        for (int y = 0; y < height; ++y) std::memcpy(corner.Row(y), picture.Row(y), corner.Stride());
        const std::string name = std::filesystem::path(argv[i]).stem().string() + ".jpg";
        selvane::WriteJpegFile(corner, quality, (folder / name).string());
    }
    return 0;
}

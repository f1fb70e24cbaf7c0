// Lossless files of the new formats hold exactly the pixels of a PNG in the corpus: they
// must decode to the same raster, and the image job must write byte for byte the JPEG it
// writes for that PNG. Files with alpha must keep the colour stored under every pixel,
// transparent ones included, as the PNG decoder does.
#include "engine/codec/PictureLoader.h"
#include "engine/job/ImageJob.h"

#include "tests/support/CaseName.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace selvane {
namespace {

struct SamePixels {
    const char* name;
    const char* file;  // relative to the corpus
    const char* png;
};

constexpr const char* kTransparent = "png/derived/rgba-transparent-colours.png";

std::string Corpus(const std::string& file)
{
    return std::string(SELVANE_TESTDATA_DIR) + "/" + file;
}

class SilentHost : public JobHost {
public:
    void AppendLog(const std::string& line) override { ADD_FAILURE() << line; }
    void ShowError(const std::string& text) override { ADD_FAILURE() << text; }
    void PictureLoaded(const Raster&, bool) override {}
    void FocusFactorField() override {}
};

std::vector<char> ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class LosslessFormatsTest : public test::TemporaryFolderTest,
                            public ::testing::WithParamInterface<SamePixels> {
protected:
    // The JPEG the job writes for a corpus file, at the default options.
    std::vector<char> JobOutput(const std::string& file)
    {
        const std::string output = Path(std::filesystem::path(file).filename().string()) + "-out/";
        std::filesystem::create_directory(output);
        SilentHost host;
        const JobResult result = ProcessImage(Corpus(file), output, JobOptions{}, host);
        EXPECT_FALSE(result.SavedPath.empty()) << file;
        return ReadAll(result.SavedPath);
    }
};

TEST_P(LosslessFormatsTest, DecodesToThePngsPixels)
{
    const Raster picture = LoadPicture(Corpus(GetParam().file));
    const Raster reference = LoadPicture(Corpus(GetParam().png));
    ASSERT_EQ(picture.Width(), reference.Width());
    ASSERT_EQ(picture.Height(), reference.Height());
    for (int y = 0; y < picture.Height(); ++y)
        ASSERT_EQ(std::memcmp(picture.Row(y), reference.Row(y), picture.Stride()), 0) << "row " << y;
}

TEST_P(LosslessFormatsTest, GivesTheSameJpegAsThePng)
{
    EXPECT_EQ(JobOutput(GetParam().file), JobOutput(GetParam().png));
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, LosslessFormatsTest,
    ::testing::Values(
        SamePixels{"TiffLzw", "tiff/derived/rgb8-lzw-strips.tif", "png/derived/testorig-half.png"},
        SamePixels{"WebpLossless", "webp/derived/lossless.webp", "png/derived/testorig-half.png"},
        SamePixels{"JxlLossless", "jxl/derived/lossless.jxl", "png/derived/testorig-half.png"},
        SamePixels{"WebpAlphaExact", "webp/derived/rgba-lossless-exact.webp", kTransparent},
        SamePixels{"TiffUnassociatedAlpha", "tiff/derived/rgba8-unassociated-alpha.tif", kTransparent},
        SamePixels{"JxlAlpha", "jxl/derived/rgba-lossless.jxl", kTransparent}),
    test::CaseName);

}  // namespace
}  // namespace selvane

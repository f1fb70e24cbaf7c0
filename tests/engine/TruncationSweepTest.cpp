// Cut-off files: every prefix of the first 4096 bytes of every file in the shared decoder
// corpus, in steps of 37 bytes, goes through the decoder its extension names. Each must
// decode (to a size within the pixel cap) or fail with DecodeError; nothing else may escape.
// Every prefix sits in a buffer of exactly its own length, so that AddressSanitizer sees
// any read past the cut.
#include "engine/codec/Decoders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace selvane {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kSweptBytes = 4096;
constexpr std::size_t kStep = 37;

using Decoder = Raster (*)(ByteSpan, PictureMetadata*);

Decoder DecoderForExtension(std::string extension)
{
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const std::map<std::string, Decoder> kDecoders = {
        {".bmp", DecodeBmp},   {".jpg", DecodeJpeg},  {".jpeg", DecodeJpeg}, {".png", DecodePng},
        {".gif", DecodeGif},   {".webp", DecodeWebp}, {".tif", DecodeTiff},  {".tiff", DecodeTiff},
        {".avif", DecodeAvif}, {".heic", DecodeHeif}, {".heif", DecodeHeif}, {".jxl", DecodeJxl}};
    const auto found = kDecoders.find(extension);
    return found == kDecoders.end() ? nullptr : found->second;
}

fs::path CorpusRoot()
{
    return SELVANE_TESTDATA_DIR;
}

// The corpus folders that hold pictures, relative to the corpus root.
std::vector<std::string> PictureFolders()
{
    std::vector<std::string> folders;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(CorpusRoot(), error)) {
        if (!entry.is_regular_file() || !DecoderForExtension(entry.path().extension().string())) continue;
        const std::string folder = entry.path().parent_path().lexically_relative(CorpusRoot()).string();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class TruncationSweepTest : public ::testing::TestWithParam<std::string> {};

TEST_P(TruncationSweepTest, EveryPrefixDecodesOrFailsCleanly)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(CorpusRoot() / GetParam()))
        if (entry.is_regular_file() && DecoderForExtension(entry.path().extension().string()))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    int decoded = 0;
    int refused = 0;
    for (const fs::path& file : files) {
        const Decoder decode = DecoderForExtension(file.extension().string());
        const std::vector<std::uint8_t> bytes = ReadBytes(file);
        const std::size_t swept = std::min(bytes.size(), kSweptBytes);
        for (std::size_t length = 0; length <= swept; length += kStep) {
            const std::vector<std::uint8_t> prefix(bytes.begin(),
                                                   bytes.begin() + static_cast<std::ptrdiff_t>(length));
            try {
                PictureMetadata metadata;
                const Raster picture = decode(prefix, &metadata);
                const auto pixels = static_cast<std::uint64_t>(picture.Width()) *
                                    static_cast<std::uint64_t>(picture.Height());
                EXPECT_TRUE(picture.Width() > 0 && picture.Height() > 0 && pixels <= kMaxPicturePixels)
                    << file << " cut at " << length << " gave " << picture.Width() << " x "
                    << picture.Height();
                ++decoded;
            } catch (const DecodeError&) {
                ++refused;
            } catch (const std::exception& error) {
                ADD_FAILURE() << file << " cut at " << length << ": not a DecodeError: " << error.what();
            }
        }
    }
    RecordProperty("decoded", decoded);
    RecordProperty("refused", refused);
}

std::string FolderName(const ::testing::TestParamInfo<std::string>& row)
{
    std::string name;
    for (const char c : row.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, TruncationSweepTest, ::testing::ValuesIn(PictureFolders()), FolderName);

TEST(TruncationSweepCorpus, FindsEveryFolderOfTheCorpus)
{
    // bmp: bmpsuite/b, g, q, x, image-rs, derived; gif: six folders; jpeg: five; png: four;
    // webp, tiff, avif, heif and jxl: derived.
    EXPECT_EQ(PictureFolders().size(), 26u);
}

}  // namespace
}  // namespace selvane

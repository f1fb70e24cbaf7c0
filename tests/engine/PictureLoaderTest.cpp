#include "engine/codec/PictureLoader.h"

#include "PictureFixtures.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace selvane {
namespace {

using test::FileBytes;

FileBytes BmpFile()
{
    test::BmpFixture fixture;
    fixture.width = 3;
    fixture.height = 2;
    fixture.pixels = FileBytes(24, 7);
    return fixture.Bytes();
}

FileBytes JpegFile()
{
    return test::JpegFixture{.width = 3, .height = 2, .samples = FileBytes(18, 7)}.Bytes();
}

FileBytes PngFile()
{
    test::PngFixture fixture;
    fixture.width = 3;
    fixture.height = 2;
    fixture.scanlines = FileBytes(20, 0);
    return fixture.Bytes();
}

FileBytes GifFile()
{
    test::GifFixture fixture;
    fixture.screenWidth = 3;
    fixture.screenHeight = 2;
    fixture.frames = {{.indices = {0}}};
    return fixture.Bytes();
}

class PictureLoaderTest : public test::TemporaryFolderTest {
protected:
    std::string Write(const std::string& name, const FileBytes& bytes)
    {
        test::WriteBytes(Path(name), bytes);
        return Path(name);
    }

    // The DecodeError's message, or "" when the picture loads.
    static std::string LoadError(const std::string& path)
    {
        try {
            LoadPicture(path);
        } catch (const DecodeError& error) {
            return error.what();
        }
        return "";
    }
};

TEST_F(PictureLoaderTest, ChoosesTheDecoderByExtensionWithoutRegardToCase)
{
    const std::vector<std::pair<std::string, FileBytes>> files = {
        {"a.bmp", BmpFile()},  {"b.BMP", BmpFile()},     {"c.Bmp", BmpFile()},   {"d.jpg", JpegFile()},
        {"e.JPG", JpegFile()}, {"f.jpeg", JpegFile()},   {"g.JPEG", JpegFile()}, {"h.jp", JpegFile()},
        {"i.Jp", JpegFile()},  {"j.png", PngFile()},     {"k.PNG", PngFile()},   {"l.gif", GifFile()},
        {"m.GIF", GifFile()},  {"n.o.p.png", PngFile()},
    };
    for (const auto& [name, bytes] : files) {
        const Raster picture = LoadPicture(Write(name, bytes));
        EXPECT_EQ(picture.Width(), 3) << name;
        EXPECT_EQ(picture.Height(), 2) << name;
    }
}

TEST_F(PictureLoaderTest, ReadsTheNewerFormatsByExtensionWithoutRegardToCase)
{
    // Corpus pictures of 114 x 75, copied under names that only the extension's case tells apart.
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.webp", "webp/derived/lossy.webp"},       {"b.WebP", "webp/derived/lossy.webp"},
        {"c.tif", "tiff/derived/grey8-lzw.tif"},     {"d.TIFF", "tiff/derived/grey8-lzw.tif"},
        {"e.avif", "avif/derived/yuv420-8bit.avif"}, {"f.AVIF", "avif/derived/yuv420-8bit.avif"},
        {"g.heic", "heif/derived/hevc-8bit.heic"},   {"h.HEIF", "heif/derived/hevc-8bit.heic"},
        {"i.jxl", "jxl/derived/lossy-d1.jxl"},       {"j.JXL", "jxl/derived/lossy-d1.jxl"},
    };
    for (const auto& [name, source] : files) {
        std::filesystem::copy_file(std::string(SELVANE_TESTDATA_DIR) + "/" + source, Path(name));
        const Raster picture = LoadPicture(Path(name));
        EXPECT_EQ(picture.Width(), 114) << name;
        EXPECT_EQ(picture.Height(), 75) << name;
    }
}

TEST_F(PictureLoaderTest, OtherExtensionsAreRefusedWhateverTheContent)
{
    std::filesystem::create_directory(Path("folder.bmp"));
    for (const std::string name : {"a.tga", "noextension", "b.bmp.txt", "c.jpe", "folder.bmp/inside"}) {
        const std::string path = Write(name, BmpFile());
        EXPECT_NE(LoadError(path), "") << name;
    }
}

TEST_F(PictureLoaderTest, TheExtensionNotTheContentPicksTheDecoder)
{
    EXPECT_NE(LoadError(Write("png-inside.jpg", PngFile())), "");
    EXPECT_NE(LoadError(Write("bmp-inside.gif", BmpFile())), "");
}

TEST_F(PictureLoaderTest, UnreadableFilesGiveTheReason)
{
    EXPECT_EQ(LoadError(Path("missing.png")),
              "cannot read " + Path("missing.png") + ": No such file or directory");
    std::filesystem::create_directory(Path("pictures.bmp"));
    EXPECT_EQ(LoadError(Path("pictures.bmp")), "cannot read " + Path("pictures.bmp") + ": Is a directory");
    EXPECT_NE(LoadError(Write("empty.png", {})), "");
}

TEST_F(PictureLoaderTest, PipeIsRefusedWithoutWaitingForAWriter)
{
    ASSERT_EQ(mkfifo(Path("pipe.gif").c_str(), 0600), 0);
    EXPECT_EQ(LoadError(Path("pipe.gif")), "cannot read " + Path("pipe.gif") + ": not a regular file");
}

TEST_F(PictureLoaderTest, FileLargerThanTheLimitIsRefusedUnread)
{
    // Sparse: nothing of it is stored, and the loader must not read it anyway.
    const int file = open(Path("huge.bmp").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(file, 0);
    ASSERT_EQ(ftruncate(file, static_cast<off_t>(kMaxPictureFileBytes + 1)), 0);
    close(file);
    EXPECT_EQ(LoadError(Path("huge.bmp")), "cannot read " + Path("huge.bmp") + ": file larger than 1 GiB");
}

}  // namespace
}  // namespace selvane

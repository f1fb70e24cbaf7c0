#include "engine/codec/PictureLoader.h"

#include "platform/OsError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace selvane {

namespace {

std::string LowerCaseExtension(const std::string& path)
{
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

PictureDecoder DecoderFor(const std::string& path)
{
    const std::string extension = LowerCaseExtension(path);
    if (extension == "bmp") return DecodeBmp;
    if (extension == "jpg" || extension == "jpeg" || extension == "jp") return DecodeJpeg;
    if (extension == "png") return DecodePng;
    if (extension == "gif") return DecodeGif;
    if (extension == "webp") return DecodeWebp;
    if (extension == "tif" || extension == "tiff") return DecodeTiff;
    if (extension == "avif") return DecodeAvif;
    if (extension == "heic" || extension == "heif") return DecodeHeif;
    if (extension == "jxl") return DecodeJxl;
    throw DecodeError("no decoder for the file type of " + path);
}

[[noreturn]] void FailRead(const std::string& path, const std::string& reason)
{
    throw DecodeError("cannot read " + path + ": " + reason);
}

struct Descriptor {
    explicit Descriptor(int descriptor) : value(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (value >= 0) close(value);
    }
    const int value;
};

}  // namespace

class PictureFile::Contents {
public:
    explicit Contents(const std::string& path)
    {
        // Non-blocking, so that opening a FIFO cannot wait for a writer; it is refused below.
        const Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
        if (file.value < 0) FailRead(path, platform::ErrorText(errno));
        const int descriptor = file.value;
        struct stat info {};
        if (fstat(descriptor, &info) != 0) FailRead(path, platform::ErrorText(errno));
        if (S_ISDIR(info.st_mode)) FailRead(path, platform::ErrorText(EISDIR));
        if (!S_ISREG(info.st_mode)) FailRead(path, "not a regular file");
        const auto declared = static_cast<std::uint64_t>(info.st_size);
        if (declared > kMaxPictureFileBytes) FailRead(path, "file larger than 1 GiB");

        bytes_.reset(new std::uint8_t[declared > 0 ? declared : 1]);
        // A file that shrinks meanwhile gives what it still holds; one that grows is read
        // to the size it had when opened.
        while (size_ < declared) {
            const ssize_t got = read(descriptor, bytes_.get() + size_, declared - size_);
            if (got == 0) break;
            if (got < 0) {
                if (errno == EINTR) continue;
                FailRead(path, platform::ErrorText(errno));
            }
            size_ += static_cast<std::size_t>(got);
        }
    }

    ByteSpan Bytes() const { return {bytes_.get(), size_}; }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
};

PictureFile::PictureFile(const std::string& path)
    : decoder_(DecoderFor(path)), contents_(std::make_unique<Contents>(path))
{}

PictureFile::~PictureFile() = default;

ByteSpan PictureFile::Bytes() const
{
    return contents_->Bytes();
}

bool PictureFile::IsJpeg() const
{
    return decoder_ == DecodeJpeg;
}

Raster PictureFile::Decode(PictureMetadata* metadata) const
{
    return decoder_(Bytes(), metadata);
}

Raster LoadPicture(const std::string& path, PictureMetadata* metadata)
{
    return PictureFile(path).Decode(metadata);
}

}  // namespace selvane

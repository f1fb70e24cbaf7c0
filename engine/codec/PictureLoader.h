// Reads a picture file whole and decodes it with the decoder its extension names, without
// regard to case: "bmp"; "jpg", "jpeg" and "jp" (JPEG); "png"; "gif"; "webp"; "tif" and
// "tiff"; "avif"; "heic" and "heif"; "jxl" (JPEG XL). Any other extension,
// a file that cannot be read, one larger than kMaxPictureFileBytes, and every decoder
// failure is a DecodeError; nothing else escapes but std::bad_alloc. Safe to call from
// several threads at once.
#pragma once

#include "engine/codec/Decoders.h"

#include <cstdint>
#include <memory>
#include <string>

namespace selvane {

inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{1} << 30;

Raster LoadPicture(const std::string& path, PictureMetadata* metadata = nullptr);

using PictureDecoder = Raster (*)(ByteSpan, PictureMetadata*);

// The same in two steps: the file read whole (with the decoder its extension names), then
// decoded, for a caller that decodes a JPEG its own way (DecodeJpegInto).
class PictureFile {
public:
    explicit PictureFile(const std::string& path);
    ~PictureFile();

    ByteSpan Bytes() const;
    bool IsJpeg() const;
    Raster Decode(PictureMetadata* metadata = nullptr) const;

private:
    class Contents;

    PictureDecoder decoder_;
    std::unique_ptr<Contents> contents_;
};

}  // namespace selvane

// Decoders for the nine picture formats, each turning the bytes of a whole file into a
// Raster (blue, green, red, top row first). They never read outside the buffer and refuse,
// from the header and before allocating, any picture that declares more than
// kMaxPicturePixels pixels. Every failure (damaged data, unsupported variant, too large) is
// a DecodeError whose message says what is wrong; nothing else escapes but std::bad_alloc.
// Given a PictureMetadata, a decoder also fills in what its format carries of it (BMP and
// GIF carry nothing). Safe to call from several threads at once.
#pragma once

#include "engine/PictureMetadata.h"
#include "engine/Raster.h"

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>

namespace selvane {

inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 28;

class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using ByteSpan = std::span<const std::uint8_t>;

Raster DecodeBmp(ByteSpan data, PictureMetadata* metadata = nullptr);
Raster DecodeJpeg(ByteSpan data, PictureMetadata* metadata = nullptr);
// JPEG in two steps, so that a caller can work on the top rows while the rest decode: the
// size (and the metadata) from the header, then the decode into raster (sized here when empty, else it must
// have the picture's size), calling rowsDone(n) on the decoding thread whenever rows
// 0 .. n - 1 are complete. Errors as DecodeJpeg's.
struct PictureDimensions {
    int width, height;
};
PictureDimensions JpegDimensions(ByteSpan data, PictureMetadata* metadata = nullptr);
void DecodeJpegInto(ByteSpan data, Raster& raster, const std::function<void(int)>& rowsDone);
Raster DecodePng(ByteSpan data, PictureMetadata* metadata = nullptr);
Raster DecodeGif(ByteSpan data, PictureMetadata* metadata = nullptr);
Raster DecodeWebp(ByteSpan data, PictureMetadata* metadata = nullptr);
Raster DecodeTiff(ByteSpan data, PictureMetadata* metadata = nullptr);
Raster DecodeAvif(ByteSpan data, PictureMetadata* metadata = nullptr);
Raster DecodeHeif(ByteSpan data, PictureMetadata* metadata = nullptr);  // HEIC and HEIF
Raster DecodeJxl(ByteSpan data, PictureMetadata* metadata = nullptr);   // JPEG XL

}  // namespace selvane

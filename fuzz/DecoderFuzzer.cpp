// libFuzzer target for one picture decoder, called exactly as the image job calls it: the
// whole input as the file's bytes, the metadata read too. The decoder is picked at build time by
// SELVANE_FUZZ_DECODER (DecodeBmp, DecodeJpeg, DecodePng, DecodeGif, DecodeWebp, DecodeTiff,
// DecodeAvif, DecodeHeif or DecodeJxl). Every input must
// decode or fail with DecodeError; anything else (a sanitizer report, another exception,
// a picture outside the promised size bounds) stops the fuzzer.
#include "engine/codec/Decoders.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        selvane::PictureMetadata metadata;
        const selvane::Raster picture = selvane::SELVANE_FUZZ_DECODER({data, size}, &metadata);
        const auto pixels =
            static_cast<std::uint64_t>(picture.Width()) * static_cast<std::uint64_t>(picture.Height());
        if (picture.Width() < 1 || picture.Height() < 1 || pixels > selvane::kMaxPicturePixels) std::abort();
    } catch (const selvane::DecodeError&) {}
    return 0;
}

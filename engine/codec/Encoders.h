// Encoders for the output formats, each turning a raster (blue, green, red, top row
// first) into the bytes of a whole file in memory, with the metadata given carried where
// the format holds them (see each encoder's file for which, and what is left out). The
// raster is only read. Every failure is a std::runtime_error whose message names the format
// and the reason; nothing else escapes but std::bad_alloc. Safe to call from several
// threads at once. Each library runs on the calling thread alone: the batch already runs
// one picture per core.
#pragma once

#include "engine/codec/OutputFormat.h"
#include "engine/PictureMetadata.h"
#include "engine/Raster.h"

#include <cstdint>
#include <vector>

namespace selvane {

using EncodedPicture = std::vector<std::uint8_t>;

// Each reads the settings that apply to its format and ignores `settings.format`.
EncodedPicture EncodeJpeg(const Raster& raster, const EncodeSettings& settings,
                          const PictureMetadata* metadata);
EncodedPicture EncodePng(const Raster& raster, const EncodeSettings& settings,
                         const PictureMetadata* metadata);
EncodedPicture EncodeWebp(const Raster& raster, const EncodeSettings& settings,
                          const PictureMetadata* metadata);
EncodedPicture EncodeAvif(const Raster& raster, const EncodeSettings& settings,
                          const PictureMetadata* metadata);
EncodedPicture EncodeJxl(const Raster& raster, const EncodeSettings& settings,
                         const PictureMetadata* metadata);

}  // namespace selvane

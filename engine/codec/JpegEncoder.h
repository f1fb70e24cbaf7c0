// Writes a raster as a baseline JPEG file: libjpeg's defaults, the given quality (libjpeg's
// scaling of the standard tables, kept to baseline), not progressive. The file is written
// through a temporary beside it and renamed into place only when complete, so a failed
// encode or write leaves neither a partial file nor a damaged earlier file at `path`.
// Errors (from the encoder or the file system) are std::runtime_error. The raster is only
// read; safe to call from several threads at once on different paths.
#pragma once

#include "engine/Raster.h"

#include <string>

namespace selvane {

// The widest and tallest picture a JPEG file can hold (libjpeg's JPEG_MAX_DIMENSION);
// larger rasters fail to encode.
inline constexpr int kMaxJpegSide = 65500;

void WriteJpegFile(const Raster& raster, int quality, const std::string& path);

}  // namespace selvane

// Writes a raster as a baseline JPEG file: libjpeg's defaults, the given quality (libjpeg's
// scaling of the standard tables, kept to baseline), not progressive. The file is written
// through a temporary beside it and renamed into place only when complete, so a failed
// encode or write leaves neither a partial file nor a damaged earlier file at `path`.
// Errors (from the encoder or the file system) are std::runtime_error. The raster is only
// read; safe to call from several threads at once on different paths.
//
// Given metadata, the file also carries them, after libjpeg's JFIF marker: the EXIF and
// the XMP each in an APP1 segment, the ICC profile in as many APP2 segments as it takes.
#pragma once

#include "engine/PictureMetadata.h"
#include "engine/Raster.h"

#include <string>

namespace selvane {

// The widest and tallest picture a JPEG file can hold (libjpeg's JPEG_MAX_DIMENSION);
// larger rasters fail to encode.
inline constexpr int kMaxJpegSide = 65500;

// The most EXIF or XMP one APP1 segment holds beside its signature; larger blocks fail to
// encode.
inline constexpr std::size_t kMaxJpegMetadataBlock = 65533 - 29;

void WriteJpegFile(const Raster& raster, int quality, const std::string& path,
                   const PictureMetadata* metadata = nullptr);

}  // namespace selvane

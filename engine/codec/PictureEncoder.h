// The one entry the image job encodes through: the picture in the format and with the
// settings chosen, carrying the metadata the format holds (Encoders.h). Errors are
// std::runtime_error, from the encoder (naming the format) or from the file system
// (platform::OsError).
#pragma once

#include "engine/codec/Encoders.h"
#include "engine/codec/OutputFormat.h"
#include "engine/PictureMetadata.h"
#include "engine/Raster.h"

#include <string>

namespace selvane {

EncodedPicture EncodePicture(const Raster& raster, const EncodeSettings& settings,
                             const PictureMetadata* metadata);

// Encodes in memory, then writes the file through a temporary beside it, renamed into
// place only when complete: a failed encode or write leaves neither a partial file nor a
// damaged earlier file at `path`.
void WritePictureFile(const Raster& raster, const EncodeSettings& settings, const std::string& path,
                      const PictureMetadata* metadata);

// Writes `bytes` as WritePictureFile writes its encoding.
void WriteEncodedFile(const EncodedPicture& bytes, const std::string& path);

}  // namespace selvane

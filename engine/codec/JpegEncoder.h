// JPEG output through libjpeg: libjpeg's defaults, then the quality (libjpeg's scaling of
// the standard tables, kept to baseline tables). With neither option set, the file is
// baseline with the standard Huffman tables; `optimize` has libjpeg compute Huffman tables
// for the picture (same pixels, smaller file); `progressive` writes libjpeg's simple
// progression of scans, which always has optimised tables.
//
// Given metadata, the file also carries them, after libjpeg's JFIF marker: the EXIF and
// the XMP each in an APP1 segment, the ICC profile in as many APP2 segments as it takes.
// EncodeJpeg is declared in Encoders.h.
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

// WritePictureFile with the default settings at `quality`: a baseline JPEG, written
// atomically (see PictureEncoder.h).
void WriteJpegFile(const Raster& raster, int quality, const std::string& path,
                   const PictureMetadata* metadata = nullptr);

}  // namespace selvane

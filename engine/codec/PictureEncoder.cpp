#include "engine/codec/PictureEncoder.h"

#include "platform/AtomicFile.h"

#include <stdexcept>
#include <string_view>

namespace selvane {

EncodedPicture EncodePicture(const Raster& raster, const EncodeSettings& settings,
                             const PictureMetadata* metadata)
{
    switch (settings.format) {
    case OutputFormat::Jpeg: return EncodeJpeg(raster, settings, metadata);
    case OutputFormat::Png: return EncodePng(raster, settings, metadata);
    case OutputFormat::Webp: return EncodeWebp(raster, settings, metadata);
    case OutputFormat::Avif: return EncodeAvif(raster, settings, metadata);
    case OutputFormat::Jxl: return EncodeJxl(raster, settings, metadata);
    }
    throw std::invalid_argument("unknown output format");
}

void WritePictureFile(const Raster& raster, const EncodeSettings& settings, const std::string& path,
                      const PictureMetadata* metadata)
{
    WriteEncodedFile(EncodePicture(raster, settings, metadata), path);
}

void WriteEncodedFile(const EncodedPicture& bytes, const std::string& path)
{
    // Outputs can be made again, so the rename need not wait for the disk.
    platform::WriteFileAtomically(path,
                                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                  platform::Durability::NoFlush);
}

}  // namespace selvane

// The formats the programs write and the settings of one encode. The settings are the
// window's controls as plain values; each format reads the ones that apply to it.
#pragma once

#include <string_view>

namespace selvane {

enum class OutputFormat { Jpeg, Png, Webp, Avif, Jxl };

// The output file's extension, without the dot.
constexpr std::string_view FileExtension(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Jpeg: return "jpg";
    case OutputFormat::Png: return "png";
    case OutputFormat::Webp: return "webp";
    case OutputFormat::Avif: return "avif";
    case OutputFormat::Jxl: return "jxl";
    }
    return "jpg";
}

struct EncodeSettings {
    OutputFormat format = OutputFormat::Jpeg;
    int quality = 74;          // 5 .. 95, the window's slider
    bool lossless = false;     // WebP and JPEG XL
    bool optimize = false;     // JPEG: optimised Huffman tables
    bool progressive = false;  // JPEG
};

// Whether the decoded picture equals the raster given: always for PNG, on request for
// WebP and JPEG XL, never for JPEG and AVIF.
constexpr bool IsLossless(const EncodeSettings& settings)
{
    switch (settings.format) {
    case OutputFormat::Png: return true;
    case OutputFormat::Webp:
    case OutputFormat::Jxl: return settings.lossless;
    case OutputFormat::Jpeg:
    case OutputFormat::Avif: return false;
    }
    return false;
}

}  // namespace selvane

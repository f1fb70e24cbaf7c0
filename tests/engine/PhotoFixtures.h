// Colour profiles and photo information made for tests with lcms2 and exiv2, the libraries
// the engine reads them with.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <exiv2/exiv2.hpp>
#include <lcms2.h>

namespace selvane::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes SavedProfile(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// Adobe RGB (1998): its primaries, D65 white and a gamma of 563/256.
inline Bytes AdobeRgbProfile()
{
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 563.0 / 256.0);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    const Bytes bytes = SavedProfile(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(gamma);
    return bytes;
}

// A printer's profile of plain inks (0: none) to Lab, as a CMYK JPEG embeds one: each ink
// takes away its share of light, black most.
inline Bytes CmykProfile()
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* table = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* grid = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(
        grid,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void*) -> cmsInt32Number {
            const double c = in[0] / 65535.0, m = in[1] / 65535.0, y = in[2] / 65535.0, k = in[3] / 65535.0;
            const cmsCIELab lab{100.0 * (1 - k) * (1 - 0.3 * (c + m + y) / 3), 60.0 * (m - c * 0.5 - y * 0.3),
                                60.0 * (y - c * 0.5 - m * 0.3)};
            cmsFloat2LabEncoded(out, &lab);
            return TRUE;
        },
        nullptr, 0);
    // An AToB0 table of version 4 needs its curves around the grid, identities here.
    cmsPipelineInsertStage(table, cmsAT_BEGIN, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(table, cmsAT_END, grid);
    cmsPipelineInsertStage(table, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, table);
    cmsPipelineFree(table);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    return SavedProfile(profile);
}

// An EXIF block (the TIFF structure alone) holding the given tags, each set from its text
// as exiv2 reads it ("6" for the orientation, "51/1 30/1 0/1" for a latitude).
inline Bytes ExifBlock(const std::vector<std::pair<std::string, std::string>>& tags,
                       const Bytes& thumbnail = {})
{
    Exiv2::ExifData data;
    for (const auto& [key, value] : tags) data[key] = value;
    if (!thumbnail.empty())
        Exiv2::ExifThumb(data).setJpegThumbnail(thumbnail.data(), static_cast<long>(thumbnail.size()));
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, data);
    return blob;
}

inline Exiv2::ExifData ReadExif(const Bytes& block)
{
    Exiv2::ExifData data;
    if (!block.empty())
        Exiv2::ExifParser::decode(data, block.data(), static_cast<std::uint32_t>(block.size()));
    return data;
}

inline std::string Tag(const Exiv2::ExifData& data, const char* key)
{
    const auto entry = data.findKey(Exiv2::ExifKey(key));
    return entry == data.end() ? std::string("(none)") : entry->toString();
}

inline Bytes XmpPacket(const std::vector<std::pair<std::string, std::string>>& properties)
{
    Exiv2::XmpData data;
    for (const auto& [key, value] : properties) data[key] = value;
    std::string packet;
    Exiv2::XmpParser::encode(packet, data);
    return {packet.begin(), packet.end()};
}

inline std::string Property(const Bytes& packet, const char* key)
{
    Exiv2::XmpData data;
    Exiv2::XmpParser::decode(data, std::string(packet.begin(), packet.end()));
    const auto entry = data.findKey(Exiv2::XmpKey(key));
    return entry == data.end() ? std::string("(none)") : entry->toString();
}

}  // namespace selvane::test

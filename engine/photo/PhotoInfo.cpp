#include "engine/photo/PhotoInfo.h"

#include <exiv2/exiv2.hpp>

#include <new>
#include <string>

namespace selvane {

namespace {

// exiv2 writes its warnings to standard error, and its XMP toolkit must be set up once,
// before two threads could each do it.
void PrepareLibrary()
{
    static const bool ready = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        return Exiv2::XmpParser::initialize();
    }();
    if (!ready) throw PhotoInfoError("the XMP toolkit cannot start");
}

Exiv2::ExifData ReadExif(std::span<const std::uint8_t> exif, Exiv2::ByteOrder& order)
{
    Exiv2::ExifData data;
    order = Exiv2::ExifParser::decode(data, exif.data(), static_cast<std::uint32_t>(exif.size()));
    if (order == Exiv2::invalidByteOrder) throw PhotoInfoError("EXIF without a TIFF header");
    return data;
}

template <class Data>
void EraseWhere(Data& data, bool (*unwanted)(const std::string& key))
{
    for (auto entry = data.begin(); entry != data.end();) {
        if (unwanted(entry->key())) entry = data.erase(entry);
        else ++entry;
    }
}

// Sets a tag the block already holds; a tag it lacks stays absent.
template <class Data, class Key, class Value>
void Replace(Data& data, const char* key, Value value)
{
    const auto entry = data.findKey(Key(key));
    if (entry != data.end()) *entry = value;
}

std::vector<std::uint8_t> ExifForOutput(std::span<const std::uint8_t> exif, int width, int height,
                                        bool turned, bool stripGps)
{
    Exiv2::ByteOrder order = Exiv2::littleEndian;
    Exiv2::ExifData data = ReadExif(exif, order);
    // The thumbnail shows the source as it was stored; the output has no use for it.
    Exiv2::ExifThumb(data).erase();
    EraseWhere(data, [](const std::string& key) { return key.rfind("Exif.Thumbnail.", 0) == 0; });
    if (stripGps)
        EraseWhere(data, [](const std::string& key) {
            return key.rfind("Exif.GPSInfo.", 0) == 0 || key == "Exif.Image.GPSTag";
        });
    if (turned) Replace<Exiv2::ExifData, Exiv2::ExifKey>(data, "Exif.Image.Orientation", std::uint16_t{1});
    Replace<Exiv2::ExifData, Exiv2::ExifKey>(data, "Exif.Photo.PixelXDimension",
                                             static_cast<std::uint32_t>(width));
    Replace<Exiv2::ExifData, Exiv2::ExifKey>(data, "Exif.Photo.PixelYDimension",
                                             static_cast<std::uint32_t>(height));
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, order, data);
    return blob;
}

std::vector<std::uint8_t> XmpForOutput(std::span<const std::uint8_t> xmp, int width, int height, bool turned,
                                       bool stripGps)
{
    Exiv2::XmpData data;
    if (Exiv2::XmpParser::decode(data, std::string(xmp.begin(), xmp.end())) != 0)
        throw PhotoInfoError("XMP that cannot be parsed");
    if (stripGps) EraseWhere(data, [](const std::string& key) { return key.rfind("Xmp.exif.GPS", 0) == 0; });
    if (turned) Replace<Exiv2::XmpData, Exiv2::XmpKey>(data, "Xmp.tiff.Orientation", std::string("1"));
    const std::string across = std::to_string(width);
    const std::string down = std::to_string(height);
    Replace<Exiv2::XmpData, Exiv2::XmpKey>(data, "Xmp.exif.PixelXDimension", across);
    Replace<Exiv2::XmpData, Exiv2::XmpKey>(data, "Xmp.exif.PixelYDimension", down);
    Replace<Exiv2::XmpData, Exiv2::XmpKey>(data, "Xmp.tiff.ImageWidth", across);
    Replace<Exiv2::XmpData, Exiv2::XmpKey>(data, "Xmp.tiff.ImageLength", down);
    std::string packet;
    if (Exiv2::XmpParser::encode(packet, data, Exiv2::XmpParser::useCompactFormat) != 0)
        throw PhotoInfoError("XMP that cannot be written again");
    return {packet.begin(), packet.end()};
}

}  // namespace

int ExifOrientation(std::span<const std::uint8_t> exif)
{
    if (exif.empty()) return 1;
    PrepareLibrary();
    try {
        Exiv2::ByteOrder order = Exiv2::littleEndian;
        const Exiv2::ExifData data = ReadExif(exif, order);
        const auto entry = data.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (entry == data.end() || entry->count() == 0) return 1;
        const long value = entry->toLong();
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {  // exiv2's own errors and the standard ones it lets through
        throw PhotoInfoError(error.what());
    }
}

OutputPhotoInfo PhotoInfoForOutput(const PictureMetadata& source, int width, int height, bool turned,
                                   bool stripGps, std::size_t maxBlockBytes)
{
    PrepareLibrary();
    OutputPhotoInfo output;
    try {
        if (!source.exif.empty()) output.exif = ExifForOutput(source.exif, width, height, turned, stripGps);
        if (!source.xmp.empty()) output.xmp = XmpForOutput(source.xmp, width, height, turned, stripGps);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const PhotoInfoError&) {
        throw;
    } catch (const std::exception& error) {
        throw PhotoInfoError(error.what());
    }
    if (output.exif.size() > maxBlockBytes || output.xmp.size() > maxBlockBytes)
        throw PhotoInfoError("photo information too large for the output");
    return output;
}

}  // namespace selvane

#include "engine/job/PhotoHandling.h"

#include "engine/codec/JpegEncoder.h"
#include "engine/codec/PictureLoader.h"
#include "engine/colour/ColourProfile.h"
#include "engine/photo/Orientation.h"
#include "engine/photo/PhotoInfo.h"

#include <limits>

namespace selvane {

namespace {

// A JPEG holds each block in one segment; the other formats' chunks and boxes have room.
std::size_t MetadataBlockLimit(OutputFormat format)
{
    return format == OutputFormat::Jpeg ? kMaxJpegMetadataBlock : std::numeric_limits<std::size_t>::max();
}

}  // namespace

void ChooseTurn(PhotoState& photo, const JobOptions& options)
{
    photo.turn = 1;
    const PictureMetadata& metadata = photo.metadata;
    if (metadata.orientation != 0) {
        if (options.autoOrient) photo.turn = metadata.orientation;
        return;
    }
    // The EXIF is read whenever it will be used, to turn the picture or to be carried, so
    // that damaged information is found, and warned of, the same way in both cases.
    if (!options.autoOrient && !options.keepMetadata) return;
    try {
        const int orientation = ExifOrientation(metadata.exif);
        if (options.autoOrient) photo.turn = orientation;
    } catch (const PhotoInfoError&) {
        photo.unreadable = true;
    }
}

bool NeedsPreparing(const PhotoState& photo, const JobOptions& options)
{
    return TurnsPicture(photo.turn) || (options.toSrgb && !photo.metadata.icc.empty());
}

void PreparePicture(Raster& picture, PhotoState& photo, const JobOptions& options)
{
    if (TurnsPicture(photo.turn)) picture = Oriented(std::move(picture), photo.turn);
    if (options.toSrgb && !photo.metadata.icc.empty())
        photo.converted = ConvertToSrgb(picture, photo.metadata.icc);
}

PictureMetadata OutputMetadata(PhotoState& photo, int width, int height, const JobOptions& options)
{
    PictureMetadata output;
    const PictureMetadata& source = photo.metadata;
    // A profile of other colours than RGB (grey, or one that cannot be read) would mislead
    // a viewer about a colour JPEG; after a conversion the pixels need none.
    if (!options.toSrgb && IsRgbProfile(source.icc)) output.icc = source.icc;
    if (!options.keepMetadata || photo.unreadable || (source.exif.empty() && source.xmp.empty()))
        return output;
    // The EXIF orientation no longer describes the pixels once they are turned, whether
    // here or by the format's own rotation.
    const bool upright = TurnsPicture(photo.turn) || source.orientation != 0;
    try {
        OutputPhotoInfo info = PhotoInfoForOutput(source, width, height, upright, options.stripGps,
                                                  MetadataBlockLimit(options.format));
        output.exif = std::move(info.exif);
        output.xmp = std::move(info.xmp);
    } catch (const PhotoInfoError&) {
        photo.unreadable = true;
    }
    return output;
}

std::string UnreadablePhotoInfoWarning(const std::string& sourcePath)
{
    return "WARNING! Photo information could not be read: " + sourcePath;
}

Raster LoadPictureAsSeen(const std::string& path, const JobOptions& options)
{
    PhotoState photo;
    Raster picture = LoadPicture(path, &photo.metadata);
    ChooseTurn(photo, options);
    PreparePicture(picture, photo, options);
    return picture;
}

}  // namespace selvane

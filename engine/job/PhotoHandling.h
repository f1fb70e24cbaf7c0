// What the image job does with a photo's metadata, as its options say: the turn that makes
// the picture upright, the conversion of its colours to sRGB, and the colour profile and
// photo information its output carries.
#pragma once

#include "engine/job/ImageJob.h"
#include "engine/PictureMetadata.h"
#include "engine/Raster.h"

#include <string>

namespace selvane {

// A picture's metadata as read, and what has been done with them so far.
struct PhotoState {
    PictureMetadata metadata;
    int turn = 1;             // the orientation the options apply (1: none)
    bool converted = false;   // the pixels were converted to sRGB
    bool unreadable = false;  // the photo information could not be read: warned once
};

// Sets photo.turn from the metadata (the format's own orientation, else the EXIF one).
// Damaged EXIF leaves the picture as stored and marks the information unreadable.
void ChooseTurn(PhotoState& photo, const JobOptions& options);

// True when the decoded pixels still have to be turned or converted.
bool NeedsPreparing(const PhotoState& photo, const JobOptions& options);

// Turns and converts the decoded picture as ChooseTurn and the options decided.
void PreparePicture(Raster& picture, PhotoState& photo, const JobOptions& options);

// The colour profile (an RGB one, unless the pixels were converted) and, when the options
// keep them, the EXIF and XMP for an output of width x height. Information that cannot be
// carried marks it unreadable and is left out.
PictureMetadata OutputMetadata(PhotoState& photo, int width, int height, const JobOptions& options);

// The log line for a picture whose photo information could not be read.
std::string UnreadablePhotoInfoWarning(const std::string& sourcePath);

// A picture decoded and prepared as a job would prepare it, for a preview.
Raster LoadPictureAsSeen(const std::string& path, const JobOptions& options);

}  // namespace selvane

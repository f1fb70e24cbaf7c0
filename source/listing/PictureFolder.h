// The pictures of one folder as the file list shows them: the regular files matching
// kPictureMask (without regard to case), in the file list's order (NameLess); a file
// matching two pieces of the mask is listed twice. Not recursive.
//
// The mask names every extension the engine decodes; the main window's file list starts
// with it and the filter box's entry 0 is the same mask, followed by one entry per format.
#pragma once

#include <string>
#include <vector>

namespace selvane {

inline constexpr const char* kPictureMask =
    "*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png;*.webp;*.tif;*.tiff;*.avif;*.heic;*.heif;*.jxl";

// The filter box's descriptions and patterns, "|" between every part.
inline constexpr const char* kPictureFilter =
    "Show all supported pictures (jpeg, jpg, gif, png, bmp, webp, tiff, avif, heic, jxl)|"
    "*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png;*.webp;*.tif;*.tiff;*.avif;*.heic;*.heif;*.jxl|"
    "JPEG|*.jpeg;*.jpg;*.jp|BITMAP|*.bmp|PNG|*.png|GIF|*.gif|"
    "WEBP|*.webp|TIFF|*.tif;*.tiff|AVIF|*.avif|HEIF|*.heic;*.heif|JPEG XL|*.jxl";

// Full paths of the folder's pictures; none for a folder that cannot be read.
std::vector<std::string> ListPictureFiles(const std::string& folder);

}  // namespace selvane

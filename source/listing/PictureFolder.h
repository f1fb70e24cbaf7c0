// The pictures of one folder as the file list shows them: the regular files matching
// "*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png" (without regard to case), in the file list's order
// (NameLess); a file matching two pieces of the mask is listed twice. Not recursive.
#pragma once

#include <string>
#include <vector>

namespace selvane {

inline constexpr const char* kPictureMask = "*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png";

// Full paths of the folder's pictures; none for a folder that cannot be read.
std::vector<std::string> ListPictureFiles(const std::string& folder);

}  // namespace selvane

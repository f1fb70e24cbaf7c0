// The colours of the program's windows, in one place. Each is stored as the design gives
// it, blue in the third byte and red in the lowest (see StoredColor).
#pragma once

namespace selvane::colors {

inline constexpr int kHeader = 12568768;          // the band above the pages
inline constexpr int kExistingFolder = 10469797;  // the path edit, naming a folder that exists
inline constexpr int kMissingFolder = 30975;      // the path edit, naming no folder
inline constexpr int kFileList = 13623006;
inline constexpr int kCommonSide = 14670026;        // the width or height all pictures share
inline constexpr int kDistortionWarning = 2310142;  // "IMAGE MAY GET DISTORTED"
inline constexpr int kFactorGroup = 13096651;
inline constexpr int kOutputSizeGroup = 13093078;
inline constexpr int kAboutBox = 13160660;

}  // namespace selvane::colors

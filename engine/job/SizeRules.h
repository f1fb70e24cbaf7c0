// How the output size of a picture is derived from its own size: shrink or magnify by a
// factor, force a common width and height, width or height, fit within a box, give the
// longer or the shorter side a length, or scale by a percentage; and, when asked, never
// make a picture larger than it is. The values are those of the
// main window's fields at the moment a picture is processed. The factor and the ratio are
// doubles; the sizes formed from them are formed in long double (a 64-bit significand) and
// rounded once, to nearest, ties to even. No rule clamps its result: sizes of 0 or
// below, or absurdly large ones, come back as they are for the caller to refuse.
#pragma once

#include <cstdint>
#include <optional>

namespace selvane {

enum class ResizeRule {
    Decrease,
    Increase,
    SameSize,
    SameWidth,
    SameHeight,
    FitBox,
    LongSide,
    ShortSide,
    Percent
};

struct SizeOptions {
    ResizeRule rule = ResizeRule::Decrease;
    int round = 2;           // whole part of the factor (spnRound)
    int zecimal = 0;         // tenths of the factor (spnZecimal)
    int width = 200;         // spnWidth, for SameSize
    int height = 10;         // spnHeight, for SameSize
    int wh = 600;            // spnWH, for SameWidth, SameHeight, LongSide and ShortSide
    int fitWidth = 1920;     // spnFitWidth, for FitBox
    int fitHeight = 1080;    // spnFitHeight, for FitBox
    int percent = 50;        // spnPercent, for Percent
    bool noEnlarge = false;  // chkNoEnlarge: no side larger than the picture's (not for Increase)
};

struct OutputSize {
    std::int64_t width;
    std::int64_t height;
};

// spnRound + spnZecimal / 10; 1 when both read 0.
double GetResizeFactor(int round, int zecimal);

// The size for a w x h picture, or nothing when the rule needs a factor greater than 1 and
// the factor is not (the "invalid factor" outcome). Under noEnlarge, a size with a side
// larger than the picture's becomes the picture's own size, or for SameSize each side is
// held to the picture's.
std::optional<OutputSize> ComputeOutputSize(const SizeOptions& options, std::int64_t w, std::int64_t h);

// True when noEnlarge has left the picture at its own size: it is then written as it is,
// not resampled (at scale 1, the softer filters would still blur it).
bool KeepsOwnPixels(const SizeOptions& options, std::int64_t w, std::int64_t h, const OutputSize& size);

// Nearest integer, ties to even, without the limits of a 32-bit result.
std::int64_t RoundHalfEven(long double value);

}  // namespace selvane

// How the output size of a picture is derived from its own size: shrink or magnify by a
// factor, or force a common width and height, width or height. The values are those of the
// main window's fields at the moment a picture is processed. The factor and the ratio are
// doubles; the sizes formed from them are formed in long double (a 64-bit significand) and
// rounded once, to nearest, ties to even. No rule clamps its result: sizes of 0 or
// below, or absurdly large ones, come back as they are for the caller to refuse.
#pragma once

#include <cstdint>
#include <optional>

namespace selvane {

enum class ResizeRule { Decrease, Increase, SameSize, SameWidth, SameHeight };

struct SizeOptions {
    ResizeRule rule = ResizeRule::Decrease;
    int round = 2;    // whole part of the factor (spnRound)
    int zecimal = 0;  // tenths of the factor (spnZecimal)
    int width = 200;  // spnWidth, for SameSize
    int height = 10;  // spnHeight, for SameSize
    int wh = 600;     // spnWH, for SameWidth and SameHeight
};

struct OutputSize {
    std::int64_t width;
    std::int64_t height;
};

// spnRound + spnZecimal / 10; 1 when both read 0.
double GetResizeFactor(int round, int zecimal);

// The size for a w x h picture, or nothing when the rule needs a factor greater than 1 and
// the factor is not (the "invalid factor" outcome).
std::optional<OutputSize> ComputeOutputSize(const SizeOptions& options, std::int64_t w, std::int64_t h);

// Nearest integer, ties to even, without the limits of a 32-bit result.
std::int64_t RoundHalfEven(long double value);

}  // namespace selvane

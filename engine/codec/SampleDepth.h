// Reduction of deeper samples (10, 12, 16 bits...) to 8 bits by rounding to nearest, so
// that 8-bit values stored in a deeper file come back unchanged and no level is biased
// downwards as dropping the low bits would bias it. With an odd maximum, as every
// (2^bits - 1) is, value * 255 / maximum never lies halfway between two integers, so
// there are no ties to break.
#pragma once

#include <cstdint>

namespace selvane {

// value in 0 ... maximum, maximum in 1 ... 65535.
constexpr std::uint8_t ReduceTo8Bits(unsigned value, unsigned maximum)
{
    return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
}

}  // namespace selvane

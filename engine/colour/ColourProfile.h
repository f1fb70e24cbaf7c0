// ICC colour profiles through lcms2: which colours a profile describes, and conversions of
// a picture's pixels from that profile to sRGB (perceptual intent). A damaged profile is
// reported as unusable, never as an error. Safe to call from several threads at once.
#pragma once

#include "engine/Raster.h"

#include <cstdint>
#include <memory>
#include <span>

namespace selvane {

using ProfileBytes = std::span<const std::uint8_t>;

// True when the profile can be read and describes RGB colours: the only kind a 3-channel
// output can carry.
bool IsRgbProfile(ProfileBytes icc);

// Converts the raster (blue, green, red) from the RGB profile to sRGB in place; false, with
// the pixels untouched, when the profile is damaged or not an RGB profile.
bool ConvertToSrgb(Raster& raster, ProfileBytes icc);

// Four-ink rows (as a JPEG stores them) turned into sRGB through a CMYK profile.
class CmykToSrgb {
public:
    // inverted: the inks are stored inverted (Adobe's JPEG convention). Empty when the
    // profile is damaged or not a CMYK profile.
    CmykToSrgb(ProfileBytes icc, bool inverted);
    ~CmykToSrgb();
    CmykToSrgb(const CmykToSrgb&) = delete;
    CmykToSrgb& operator=(const CmykToSrgb&) = delete;

    explicit operator bool() const { return transform_ != nullptr; }
    void ConvertRow(const std::uint8_t* cmyk, int width, std::uint8_t* bgr) const;

private:
    void* transform_ = nullptr;
};

}  // namespace selvane

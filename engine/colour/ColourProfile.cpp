#include "engine/colour/ColourProfile.h"

#include <lcms2.h>

namespace selvane {

namespace {

struct ProfileClose {
    void operator()(void* profile) const noexcept { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileClose>;

Profile OpenProfile(ProfileBytes icc)
{
    if (icc.empty() || icc.size() > UINT32_MAX) return nullptr;
    return Profile(cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size())));
}

// A transform from profile to sRGB; null when lcms2 cannot build one (a profile whose
// tables are missing or damaged).
cmsHTRANSFORM TransformToSrgb(void* profile, cmsUInt32Number inputFormat)
{
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!srgb) return nullptr;
    return cmsCreateTransform(profile, inputFormat, srgb.get(), TYPE_BGR_8, INTENT_PERCEPTUAL, 0);
}

}  // namespace

bool IsRgbProfile(ProfileBytes icc)
{
    const Profile profile = OpenProfile(icc);
    return profile && cmsGetColorSpace(profile.get()) == cmsSigRgbData;
}

bool ConvertToSrgb(Raster& raster, ProfileBytes icc)
{
    const Profile profile = OpenProfile(icc);
    if (!profile || cmsGetColorSpace(profile.get()) != cmsSigRgbData) return false;
    const cmsHTRANSFORM transform = TransformToSrgb(profile.get(), TYPE_BGR_8);
    if (!transform) return false;
    for (int y = 0; y < raster.Height(); ++y)
        cmsDoTransform(transform, raster.Row(y), raster.Row(y), static_cast<cmsUInt32Number>(raster.Width()));
    cmsDeleteTransform(transform);
    return true;
}

CmykToSrgb::CmykToSrgb(ProfileBytes icc, bool inverted)
{
    const Profile profile = OpenProfile(icc);
    if (!profile || cmsGetColorSpace(profile.get()) != cmsSigCmykData) return;
    // lcms2 reads plain inks (0 = no ink); Adobe's files store them inverted.
    transform_ = TransformToSrgb(profile.get(), inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8);
}

CmykToSrgb::~CmykToSrgb()
{
    if (transform_) cmsDeleteTransform(transform_);
}

void CmykToSrgb::ConvertRow(const std::uint8_t* cmyk, int width, std::uint8_t* bgr) const
{
    cmsDoTransform(transform_, cmyk, bgr, static_cast<cmsUInt32Number>(width));
}

}  // namespace selvane

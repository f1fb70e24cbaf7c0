// A JPEG decoded on a second thread while this one resamples it: the resampler takes each
// band of rows as soon as the decoder has written it, so a picture takes little more than
// its decode. The output is the same as decoding first and resampling after.
#pragma once

#include "engine/codec/Decoders.h"
#include "engine/Raster.h"
#include "engine/resample/FilterTable.h"

namespace selvane {

// picture has the JPEG's size (JpegDimensions) and receives the decoded picture; output,
// sized by the caller, receives the resampled one. False when the JPEG failed to decode
// (output is then undefined); exhausted memory in the resampler propagates as
// std::bad_alloc, after the decoder has finished.
bool DecodeJpegWhileResampling(ByteSpan jpeg, Raster& picture, Raster& output, const FilterEntry& filter);

}  // namespace selvane

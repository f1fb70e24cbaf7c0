// Turns an engine Raster (rows of blue, green, red bytes) into a QImage that owns a copy of
// the pixels. An empty raster gives a null image. Throws std::bad_alloc when memory runs
// out.
#pragma once

#include "engine/Raster.h"

#include <QImage>

namespace selvane {

QImage RasterToImage(const Raster& raster);

// The raster as a picture that fits box, keeping its proportions (at least 1 x 1), for a
// preview: as it is when it fits already, else its pixels sampled down to about twice the
// box and that smoothed to it. Only the sampled pixels are read, and flat colours stay as
// they are.
QImage RasterToPreview(const Raster& raster, QSize box);

}  // namespace selvane

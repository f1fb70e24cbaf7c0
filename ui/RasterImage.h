// Turns an engine Raster (rows of blue, green, red bytes) into a QImage that owns a copy of
// the pixels. An empty raster gives a null image. Throws std::bad_alloc when memory runs
// out.
#pragma once

#include "engine/Raster.h"

#include <QImage>

namespace selvane {

QImage RasterToImage(const Raster& raster);

}  // namespace selvane

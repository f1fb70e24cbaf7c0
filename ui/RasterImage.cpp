#include "ui/RasterImage.h"

#include <new>

namespace selvane {

QImage RasterToImage(const Raster& raster)
{
    if (raster.Empty()) return {};
    const QImage view(raster.Data(), raster.Width(), raster.Height(), static_cast<qsizetype>(raster.Stride()),
                      QImage::Format_BGR888);
    QImage copy = view.copy();
    if (copy.isNull()) throw std::bad_alloc();
    return copy;
}

}  // namespace selvane

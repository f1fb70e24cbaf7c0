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

QImage RasterToPreview(const Raster& raster, QSize box)
{
    const QSize size(raster.Width(), raster.Height());
    if (raster.Empty() || box.isEmpty() || (size.width() <= box.width() && size.height() <= box.height()))
        return RasterToImage(raster);
    const QSize shown = size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QSize sampled = (shown * 2).boundedTo(size);
    QImage near(sampled, QImage::Format_RGB32);
    if (near.isNull()) throw std::bad_alloc();
    for (int y = 0; y < sampled.height(); ++y) {
        const std::uint8_t* row =
            raster.Row(static_cast<int>(static_cast<long long>(y) * size.height() / sampled.height()));
        auto* line = reinterpret_cast<QRgb*>(near.scanLine(y));
        for (int x = 0; x < sampled.width(); ++x) {
            const std::uint8_t* pixel =
                row + 3 * (static_cast<long long>(x) * size.width() / sampled.width());
            line[x] = qRgb(pixel[2], pixel[1], pixel[0]);
        }
    }
    return near.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace selvane

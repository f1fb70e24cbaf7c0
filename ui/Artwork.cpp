#include "ui/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace selvane {

namespace {

const QColor kDeepGreen(46, 84, 62);
const QColor kPaleGreen(165, 193, 159);
const QColor kSand(238, 232, 214);
const QColor kOrange(255, 120, 0);

// A large frame with a smaller copy of it in its corner and an arrow from one to the other:
// a picture being made smaller. Drawn in a box of the given size.
void DrawResizeMotif(QPainter& painter, const QRectF& box)
{
    const qreal unit = box.width() / 16.0;
    const QRectF large(box.left() + unit, box.top() + unit, 11 * unit, 9 * unit);
    const QRectF small(box.left() + 9 * unit, box.top() + 9.5 * unit, 6 * unit, 5 * unit);

    painter.setPen(QPen(kDeepGreen, std::max<qreal>(1.0, unit * 0.8)));
    painter.setBrush(kSand);
    painter.drawRect(large);
    // Hills and a sun inside the large frame, so it reads as a photograph.
    QPainterPath hills;
    hills.moveTo(large.bottomLeft());
    hills.lineTo(large.left() + large.width() * 0.35, large.top() + large.height() * 0.45);
    hills.lineTo(large.left() + large.width() * 0.6, large.top() + large.height() * 0.75);
    hills.lineTo(large.left() + large.width() * 0.8, large.top() + large.height() * 0.55);
    hills.lineTo(large.bottomRight());
    hills.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPaleGreen);
    painter.drawPath(hills);
    painter.setBrush(kOrange);
    painter.drawEllipse(QPointF(large.left() + large.width() * 0.78, large.top() + large.height() * 0.28),
                        unit * 1.1, unit * 1.1);

    painter.setPen(QPen(kDeepGreen, std::max<qreal>(1.0, unit * 0.8)));
    painter.setBrush(kOrange);
    painter.drawRect(small);
}

}  // namespace

void PaintSky(QPainter& painter, const QRect& area)
{
    QLinearGradient sky(area.topLeft(), area.bottomLeft() + QPoint(0, 1));
    sky.setColorAt(0.0, QColor(222, 222, 207));
    sky.setColorAt(1.0, kPaleGreen);
    painter.fillRect(area, sky);
}

void PaintText(QPainter& painter, const QRectF& area, int flags, const QString& text, int pixelSize,
               bool bold, const QColor& colour)
{
    QFont face(QStringLiteral("Sans Serif"));
    face.setPixelSize(pixelSize);
    face.setBold(bold);
    painter.setFont(face);
    painter.setPen(colour);
    painter.drawText(area, flags, text);
}

QImage MakeBanner()
{
    QImage banner(kBannerWidth, kBannerHeight, QImage::Format_RGB32);
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);

    PaintSky(painter, banner.rect());

    DrawResizeMotif(painter, QRectF(24, 24, 128, 128));

    PaintText(painter, QRectF(160, 36, 176, 80), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
              QStringLiteral("Selvane"), 30, true, kDeepGreen);
    PaintText(painter, QRectF(160, 84, 176, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
              QStringLiteral("Image Resizer"), 19, false, kDeepGreen);
    PaintText(painter, QRectF(16, 172, kBannerWidth - 32, 40), Qt::AlignCenter | Qt::TextWordWrap,
              QStringLiteral("Choose pictures on the left, then press F9"), 13, false, QColor(70, 90, 70));
    return banner;
}

QIcon MakeApplicationIcon()
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        DrawResizeMotif(painter, QRectF(0, 0, side, side));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace selvane

// The program's own pictures, drawn in code: the start-up banner of the preview (348 x 230,
// with the program's name) and the application icon (16, 24, 32 and 48 pixels square),
// which is also the tray icon. Call after the application object exists.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace selvane {

inline constexpr int kBannerWidth = 348;
inline constexpr int kBannerHeight = 230;

QImage MakeBanner();
QIcon MakeApplicationIcon();

// The pale sky behind the banner and the about box, fading from sand to green downwards.
void PaintSky(QPainter& painter, const QRect& area);

// Text in the pictures' sans-serif face, pixelSize pixels high, in colour, laid into area
// with Qt's alignment and wrapping flags.
void PaintText(QPainter& painter, const QRectF& area, int flags, const QString& text, int pixelSize,
               bool bold, const QColor& colour);

}  // namespace selvane

// The small pictures of the source widgets, our own artwork drawn in code: the file list's
// (16 x 15), the folder tree's (16 x 15), the drive box's (16 x 11) and the two shortcut
// buttons' (16 x 15). Every glyph is drawn on a background colour that fills its
// bottom-left pixel, and that colour is made transparent.
//
// Each glyph is drawn once and shared; the images are plain data, so no application object
// is needed. User-interface thread only.
#pragma once

#include "source/listing/GlyphId.h"

#include <QImage>

namespace selvane {

const QImage& Glyph(GlyphId id);

// The picture with every pixel of its bottom-left pixel's colour made fully transparent.
QImage TransparentByBottomLeft(const QImage& picture);

}  // namespace selvane

// Draws the rows of the file list and the folder tree: the row's background (selection
// and focus as the style draws them), a glyph at the row's left edge plus the item's
// indent, centred vertically, and the text at the row's top, 4 pixels after the glyph (at
// the indent when there is no glyph). Every row has the same height.
//
// The items carry their glyph, indent and exact name in the roles below. The delegate
// belongs to its view (Qt parent). User-interface thread only.
#pragma once

#include "source/Glyphs.h"

#include <QRect>
#include <QStyledItemDelegate>

namespace selvane {

enum GlyphItemRole {
    kNameRole = Qt::UserRole,  // QByteArray: the item's text as the file system spells it
    kGlyphRole,                // int: a GlyphId, or -1 for none
    kIndentRole,               // int: pixels from the row's left edge to the glyph
};

// Top of a glyph centred in a row whose bottom edge lies just below its last pixel line.
int GlyphTop(const QRect& row, int glyphHeight);
// Left of the text: the indent, plus the glyph's width and 4 pixels when there is a glyph.
int TextLeft(const QRect& row, int indent, int glyphWidth);
// The font's height; with glyphs shown, at least the glyph's height plus 1.
int RowHeight(int fontHeight, bool showGlyphs, int glyphHeight);

class GlyphItemDelegate : public QStyledItemDelegate {
public:
    explicit GlyphItemDelegate(QObject* parent);

    void SetShowGlyphs(bool show) { showGlyphs_ = show; }
    void SetRowHeight(int height) { rowHeight_ = height; }
    int RowHeight() const { return rowHeight_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const QImage* GlyphOf(const QModelIndex& index) const;

    bool showGlyphs_ = false;
    int rowHeight_ = 16;
};

}  // namespace selvane

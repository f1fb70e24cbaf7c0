#include "source/GlyphItemDelegate.h"

#include <QApplication>
#include <QPainter>

namespace selvane {

int GlyphTop(const QRect& row, int glyphHeight)
{
    return (row.top() + row.top() + row.height() - glyphHeight) / 2;
}

int TextLeft(const QRect& row, int indent, int glyphWidth)
{
    return row.left() + indent + (glyphWidth > 0 ? glyphWidth + 4 : 0);
}

int RowHeight(int fontHeight, bool showGlyphs, int glyphHeight)
{
    return showGlyphs && fontHeight < glyphHeight + 1 ? glyphHeight + 1 : fontHeight;
}

GlyphItemDelegate::GlyphItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

const QImage* GlyphItemDelegate::GlyphOf(const QModelIndex& index) const
{
    const QVariant glyph = index.data(kGlyphRole);
    if (!showGlyphs_ || !glyph.isValid() || glyph.toInt() < 0) return nullptr;
    return &Glyph(static_cast<GlyphId>(glyph.toInt()));
}

void GlyphItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyleOptionViewItem background(option);
    initStyleOption(&background, index);
    const QString text = background.text;
    background.text.clear();
    background.icon = QIcon();
    const QWidget* widget = background.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const QRect& row = option.rect;
    const int indent = index.data(kIndentRole).toInt();
    const QImage* glyph = GlyphOf(index);
    if (glyph) painter->drawImage(QPoint(row.left() + indent, GlyphTop(row, glyph->height())), *glyph);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    const int left = TextLeft(row, indent, glyph ? glyph->width() : 0);
    painter->save();
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(QRect(left, row.top(), row.right() + 1 - left, row.height()),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

QSize GlyphItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QImage* glyph = GlyphOf(index);
    const int left = TextLeft(QRect(), index.data(kIndentRole).toInt(), glyph ? glyph->width() : 0);
    return {left + option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 2,
            rowHeight_};
}

}  // namespace selvane

#include "ui/widgets/WidgetLook.h"

#include "ui/QtMessageBoxes.h"

namespace selvane {

QColor StoredColor(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

void SetBackground(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetHint(QWidget* widget, const char* hint)
{
    widget->setToolTip(BoxText(hint));
}

QGroupBox* MakeGroupBox(const char* caption, QWidget* page, const QRect& geometry)
{
    auto* group = new QGroupBox(QString::fromLatin1(caption), page);
    group->setGeometry(geometry);
    return group;
}

void SetBoldFont(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

}  // namespace selvane

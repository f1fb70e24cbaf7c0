// Small helpers for the look of the main window's controls: colours given as the platform
// value 0x00BBGGRR, background colours, hints and bold captions. User-interface thread only.
#pragma once

#include <QColor>
#include <QGroupBox>
#include <QPoint>
#include <QRect>
#include <QWidget>

namespace selvane {

// A colour given as its stored value, blue in the third byte and red in the lowest.
QColor StoredColor(int value);

void SetBackground(QWidget* widget, const QColor& color);

// The hint shown as the widget's tool-tip; "\r\n" and a lone "\r" break the line.
void SetHint(QWidget* widget, const char* hint);

void SetBoldFont(QWidget* widget);

// A group box with its caption at its designed place on a page.
QGroupBox* MakeGroupBox(const char* caption, QWidget* page, const QRect& geometry);

// A captioned control (check box, radio button, label) at its designed place, as wide as
// its caption, with its hint (none when empty).
template <class Control>
Control* MakeCaptioned(QWidget* parent, const char* caption, const char* hint, QPoint position)
{
    auto* control = new Control(QString::fromLatin1(caption), parent);
    if (*hint) SetHint(control, hint);
    control->move(position);
    control->adjustSize();
    return control;
}

}  // namespace selvane

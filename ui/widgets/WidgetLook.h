// Small helpers for the look of the main window's controls: colours given as the platform
// value 0x00BBGGRR, background colours, hints and bold captions. User-interface thread only.
#pragma once

#include <QColor>
#include <QGroupBox>
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

}  // namespace selvane

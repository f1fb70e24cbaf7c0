// TCompareFiltersWindow: the same region of one picture's output under each of the seven
// filters, side by side at 100 % with their names, and under each a button that makes it
// the filter of the batch. The window shows what it is given; the main window works the
// regions out (MainFormCompare.cpp). Owned by the main window, which it stays above;
// user-interface thread only.
#pragma once

#include "engine/resample/FilterTable.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QPushButton;

namespace selvane {

class TCompareFiltersWindow : public QWidget {
    Q_OBJECT

public:
    explicit TCompareFiltersWindow(QWidget* owner);

    // tiles: one per filter, in the filter table's order, each shown pixel for pixel.
    void ShowTiles(const QString& caption, const std::array<QImage, kFilterCount>& tiles);
    // Why there are no tiles to show, in place of the caption.
    void ShowRefusal(const QString& text);
    // The filter in use: its button is disabled, as there is nothing to take.
    void SetChosenFilter(int index);

    // A filter's "Use this filter" button was clicked.
    std::function<void(int)> OnUseFilter;

    QLabel* lblRegion = nullptr;
    QLabel* lblHowTo = nullptr;
    std::array<QLabel*, kFilterCount> lblNames{};
    std::array<QLabel*, kFilterCount> imgTiles{};
    std::array<QPushButton*, kFilterCount> btnUse{};
};

}  // namespace selvane

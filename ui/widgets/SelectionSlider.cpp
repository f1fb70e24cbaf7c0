#include "ui/widgets/SelectionSlider.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace selvane {

TSelectionSlider::TSelectionSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void TSelectionSlider::SetSelection(int start, int end)
{
    selectionStart_ = start;
    selectionEnd_ = end;
    update();
}

void TSelectionSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);

    // Groove first, then the band, then ticks and handle on top of both.
    option.subControls = QStyle::SC_SliderGroove;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);

    if (selectionEnd_ > selectionStart_) {
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const int span = groove.width() - handle.width();
        const auto at = [&](int value) {
            return groove.left() + handle.width() / 2 +
                   QStyle::sliderPositionFromValue(minimum(), maximum(), value, span);
        };
        // Just under the groove, where the style's own filling of the groove cannot hide it.
        const QRect band(QPoint(at(selectionStart_), groove.bottom() + 1),
                         QPoint(at(selectionEnd_), groove.bottom() + 3));
        painter.fillRect(band, QColor(0, 160, 60));
    }

    option.subControls = QStyle::SC_SliderTickmarks | QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}

}  // namespace selvane

#include "ui/widgets/ClickFilter.h"

#include <QMouseEvent>
#include <QWidget>

#include <utility>

namespace selvane {

namespace {

class TClickFilter : public QObject {
public:
    TClickFilter(QWidget* widget, std::function<void()> handler)
        : QObject(widget), handler_(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        if (event->type() == QEvent::MouseButtonPress) {
            pressed_ = true;
            return false;
        }
        const bool inside = static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        if (std::exchange(pressed_, false) && inside) handler_();
        return false;
    }

private:
    std::function<void()> handler_;
    bool pressed_ = false;
};

}  // namespace

void OnWidgetClick(QWidget* widget, std::function<void()> handler)
{
    new TClickFilter(widget, std::move(handler));
}

}  // namespace selvane

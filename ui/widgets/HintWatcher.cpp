#include "ui/widgets/HintWatcher.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QToolTip>

namespace selvane {

QString GetLongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

THintWatcher::THintWatcher(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

THintWatcher::~THintWatcher()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

QString THintWatcher::HintOf(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (!widget->toolTip().isEmpty()) return widget->toolTip();
        if (widget->isWindow()) break;
    }
    return {};
}

bool THintWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // The tool-tip's own window is not a control the person points at.
    if (widget->window()->windowType() == Qt::ToolTip) return false;
    switch (event->type()) {
    case QEvent::Enter:
        underMouse_ = widget;
        ScheduleUpdate();
        break;
    case QEvent::Leave:
        // Leaving a control for its parent brings no Enter to the parent; leaving it for
        // another control brings that control's Enter right after this.
        underMouse_ = widget->isWindow() ? nullptr : widget->parentWidget();
        ScheduleUpdate();
        break;
    case QEvent::ToolTip: {
        if (!showHints_) return true;
        const QString hint = HintOf(widget);
        if (hint.isEmpty()) return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), hint, widget, {}, hidePause_);
        return true;
    }
    default: break;
    }
    return false;
}

void THintWatcher::ScheduleUpdate()
{
    if (updatePending_) return;
    updatePending_ = true;
    QMetaObject::invokeMethod(this, &THintWatcher::UpdateHint, Qt::QueuedConnection);
}

void THintWatcher::UpdateHint()
{
    updatePending_ = false;
    const QString hint = HintOf(underMouse_);
    if (hint == currentHint_) return;
    currentHint_ = hint;
    emit HintChanged();
}

}  // namespace selvane

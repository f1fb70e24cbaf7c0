#include "ui/widgets/Anchors.h"

#include <QEvent>
#include <QResizeEvent>

#include <algorithm>

namespace selvane {

TAnchors::TAnchors(QWidget* container, QSize designSize)
    : QObject(container), container_(container), designSize_(designSize)
{
    container->installEventFilter(this);
}

void TAnchors::Add(QWidget* child, int kinds)
{
    entries_.push_back({child, child->geometry(), kinds});
    Apply(container_->size());
}

bool TAnchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == container_ && event->type() == QEvent::Resize)
        Apply(static_cast<QResizeEvent*>(event)->size());
    return false;
}

void TAnchors::Apply(QSize size)
{
    const int dx = size.width() - designSize_.width();
    const int dy = size.height() - designSize_.height();
    for (const Entry& entry : entries_) {
        if (!entry.child) continue;
        QRect rect = entry.design;
        if (entry.kinds & FollowRight) rect.translate(dx, 0);
        if (entry.kinds & FollowBottom) rect.translate(0, dy);
        if (entry.kinds & StretchWidth) rect.setWidth(std::max(0, rect.width() + dx));
        if (entry.kinds & StretchHeight) rect.setHeight(std::max(0, rect.height() + dy));
        entry.child->setGeometry(rect);
    }
}

}  // namespace selvane

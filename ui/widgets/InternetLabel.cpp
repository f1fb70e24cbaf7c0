#include "ui/widgets/InternetLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace selvane {

TInternetLabel::TInternetLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    QFont plain = font();
    plain.setBold(false);
    plain.setItalic(false);
    plain.setUnderline(false);
    plain.setStrikeOut(false);
    setFont(plain);
    SetTextColor(notVisitedColor_);
}

QColor TInternetLabel::TextColor() const
{
    return palette().color(QPalette::WindowText);
}

void TInternetLabel::SetTextColor(const QColor& color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    setPalette(colours);
}

void TInternetLabel::SetUnderline(bool on)
{
    QFont underlined = font();
    underlined.setUnderline(on);
    setFont(underlined);
}

void TInternetLabel::SetLink(const QString& link)
{
    link_ = link;
    if (linkHint_) setToolTip(link);
}

void TInternetLabel::SetVisited(bool visited)
{
    visited_ = visited;
    SetTextColor(visited ? visitedColor_ : notVisitedColor_);
}

void TInternetLabel::SetVisitedColor(const QColor& color)
{
    visitedColor_ = color;
    if (visited_ && !hovering_) SetTextColor(color);
}

void TInternetLabel::SetNotVisitedColor(const QColor& color)
{
    notVisitedColor_ = color;
    if (!visited_ && !hovering_) SetTextColor(color);
}

void TInternetLabel::SetOverColor(const QColor& color)
{
    overColor_ = color;
    if (hovering_) SetTextColor(color);
}

bool TInternetLabel::CanOpenLink()
{
    bool allow = !link_.isEmpty();
    if (OnLinkActivating) OnLinkActivating(this, allow);
    return allow;
}

void TInternetLabel::OpenLink()
{
    if (!CanOpenLink()) return;
    SetVisited(OpenInShell(link_));
}

bool TInternetLabel::OpenInShell(const QString& link)
{
    return QDesktopServices::openUrl(QUrl(link));
}

void TInternetLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    hovering_ = true;
    SetTextColor(overColor_);
    SetUnderline(true);
    if (OnMouseEnter) OnMouseEnter();
}

void TInternetLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    hovering_ = false;
    SetUnderline(false);
    SetTextColor(visited_ ? visitedColor_ : notVisitedColor_);
    if (OnMouseLeave) OnMouseLeave();
}

void TInternetLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
    emit clicked();
    OpenLink();
}

}  // namespace selvane

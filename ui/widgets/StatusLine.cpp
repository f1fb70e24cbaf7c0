#include "ui/widgets/StatusLine.h"

#include <QFontMetrics>

namespace selvane {

TStatusLine::TStatusLine(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void TStatusLine::SetLine(const QString& text)
{
    line_ = text;
    line_.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace('\r', ' ').replace('\n', ' ');
    Show();
}

QSize TStatusLine::minimumSizeHint() const
{
    return {0, fontMetrics().height()};
}

void TStatusLine::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Show();
}

void TStatusLine::Show()
{
    const QString shown = fontMetrics().elidedText(line_, Qt::ElideRight, contentsRect().width());
    if (text() != shown) setText(shown);
}

}  // namespace selvane

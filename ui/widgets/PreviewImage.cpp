#include "ui/widgets/PreviewImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace selvane {

TPreviewImage::TPreviewImage(QWidget* parent) : QWidget(parent) {}

void TPreviewImage::SetPicture(const QImage& picture)
{
    picture_ = picture;
    frame_ = QRectF();
    update();
}

void TPreviewImage::SetFitToBox(bool fit)
{
    if (fit == fitToBox_) return;
    fitToBox_ = fit;
    update();
}

QRect TPreviewImage::PictureRect() const
{
    if (picture_.isNull()) return {};
    QSize size = picture_.size();
    const QSize box = contentsRect().size();
    if (fitToBox_ || size.width() > box.width() || size.height() > box.height())
        size.scale(box, Qt::KeepAspectRatio);
    QRect rect(QPoint(), size);
    rect.moveCenter(contentsRect().center());
    return rect;
}

void TPreviewImage::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect drawn = PictureRect();
    painter.drawImage(drawn, picture_);
    if (frame_.isEmpty()) return;
    const QRectF framed(drawn.left() + frame_.left() * drawn.width(),
                        drawn.top() + frame_.top() * drawn.height(), frame_.width() * drawn.width(),
                        frame_.height() * drawn.height());
    // Black under white, so that the frame shows on light and dark pictures alike.
    painter.setPen(QPen(Qt::black, 3));
    painter.drawRect(framed);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(framed);
}

void TPreviewImage::SetFrame(const QRectF& fractions)
{
    frame_ = fractions;
    update();
}

void TPreviewImage::mousePressEvent(QMouseEvent* event)
{
    const QRect drawn = PictureRect();
    if (event->button() != Qt::LeftButton || !OnPictureClick ||
        !drawn.contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF inside = event->position() - drawn.topLeft();
    OnPictureClick({inside.x() / drawn.width(), inside.y() / drawn.height()});
}

}  // namespace selvane

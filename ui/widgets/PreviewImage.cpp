#include "ui/widgets/PreviewImage.h"

#include <QPainter>

namespace selvane {

TPreviewImage::TPreviewImage(QWidget* parent) : QWidget(parent) {}

void TPreviewImage::SetPicture(const QImage& picture)
{
    picture_ = picture;
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
    painter.drawImage(PictureRect(), picture_);
}

}  // namespace selvane

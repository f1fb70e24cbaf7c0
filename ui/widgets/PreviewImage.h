// TPreviewImage (imgLoader): shows one picture centred in its box. Until SetFitToBox(true)
// the picture keeps its own size (shrunk, proportions kept, only when the box is smaller);
// afterwards it is scaled up or down to fill the box as far as its proportions allow. A
// part of the picture can be framed, and a left click on the picture is reported. Owned by its parent widget; user-interface thread only.
#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>

#include <functional>

namespace selvane {

class TPreviewImage : public QWidget {
    Q_OBJECT

public:
    explicit TPreviewImage(QWidget* parent = nullptr);

    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);

    bool FitToBox() const { return fitToBox_; }
    void SetFitToBox(bool fit);

    // Where the picture is drawn inside the widget.
    QRect PictureRect() const;

    // Frames the part of the picture given in fractions of its width and height (0 .. 1);
    // an empty rectangle frames nothing. A new picture drops the frame.
    void SetFrame(const QRectF& fractions);
    QRectF Frame() const { return frame_; }

    // A left click on the picture, with where it fell in fractions of its width and height.
    std::function<void(QPointF)> OnPictureClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool fitToBox_ = false;
    QRectF frame_;
};

}  // namespace selvane

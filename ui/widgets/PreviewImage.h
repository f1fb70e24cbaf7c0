// TPreviewImage (imgLoader): shows one picture centred in its box. Until SetFitToBox(true)
// the picture keeps its own size (shrunk, proportions kept, only when the box is smaller);
// afterwards it is scaled up or down to fill the box as far as its proportions allow.
// Owned by its parent widget; user-interface thread only.
#pragma once

#include <QImage>
#include <QWidget>

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    bool fitToBox_ = false;
};

}  // namespace selvane

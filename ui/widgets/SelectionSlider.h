// A horizontal slider that also marks a range of its values as a band along the groove
// (the recommended qualities of the quality slider). Owned by its parent widget.
#pragma once

#include <QSlider>

namespace selvane {

class TSelectionSlider : public QSlider {
    Q_OBJECT

public:
    explicit TSelectionSlider(QWidget* parent = nullptr);

    void SetSelection(int start, int end);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int selectionStart_ = 0;
    int selectionEnd_ = 0;
};

}  // namespace selvane

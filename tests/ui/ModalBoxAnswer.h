// Answers the first modal message box that opens, with a given button, and records what
// it showed. It looks for the box from the event loop (every 10 ms), which is running
// inside the box's own modal loop by then.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <optional>

namespace selvane::test {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

class ModalBoxAnswer {
public:
    explicit ModalBoxAnswer(QMessageBox::StandardButton answer)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || seen_) return;
            seen_ = SeenBox{box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            box->button(answer)->click();
        });
        timer_.start(10);
    }

    const std::optional<SeenBox>& Seen() const { return seen_; }

private:
    QTimer timer_;
    std::optional<SeenBox> seen_;
};

}  // namespace selvane::test

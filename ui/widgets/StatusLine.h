// The status bar's one line of text. Texts come from file names, the update page and
// multi-line hints, so it shows them as plain text, line breaks as spaces, and cut with an
// ellipsis at the end when they do not fit: the bar never grows and never renders markup.
#pragma once

#include <QLabel>
#include <QString>

namespace selvane {

class TStatusLine : public QLabel {
public:
    explicit TStatusLine(QWidget* parent = nullptr);

    void SetLine(const QString& text);
    // The whole line, before any cut.
    const QString& Line() const { return line_; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Show();

    QString line_;
};

}  // namespace selvane

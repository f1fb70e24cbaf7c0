// TAboutBox: the borderless about box: the program's picture (634 x 366, drawn in code),
// "Version " with the program's version and the maker's notice. A click anywhere on it
// closes it. Made, shown modally and destroyed by the main window's About command.
// User-interface thread only.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;

namespace selvane {

inline constexpr int kAboutWidth = 634;
inline constexpr int kAboutHeight = 366;

// The about box's picture, with the program's name.
QImage MakeAboutPicture();

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* owner);

    QLabel* aboutImage = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCopyRight = nullptr;

    void aboutImageClick();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FormCreate();
};

}  // namespace selvane

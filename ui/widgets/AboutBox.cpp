#include "ui/widgets/AboutBox.h"
#include "ui/widgets/WindowColors.h"

#include "ui/Artwork.h"
#include "ui/widgets/WidgetLook.h"
#include "util/TessaroTPU.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace selvane {

namespace {

constexpr const char* kCopyRight = "Copyright (c) Selvane Software. Free to use and to pass on unchanged.";

}  // namespace

QImage MakeAboutPicture()
{
    QImage picture(kAboutWidth, kAboutHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    PaintSky(painter, picture.rect());
    // A band across the middle that carries the name, and the program's icon beside it.
    painter.fillRect(QRect(0, 70, kAboutWidth, 110), QColor(46, 84, 62));
    painter.drawPixmap(QRect(24, 83, 84, 84), MakeApplicationIcon().pixmap(48, 48));

    PaintText(painter, QRect(124, 70, kAboutWidth - 140, 70), Qt::AlignLeft | Qt::AlignBottom,
              QStringLiteral("Selvane"), 40, true, QColor(238, 232, 214));
    PaintText(painter, QRect(124, 140, kAboutWidth - 140, 36), Qt::AlignLeft | Qt::AlignTop,
              QStringLiteral("Image Resizer"), 24, false, QColor(255, 120, 0));
    PaintText(
        painter, QRect(23, 240, kAboutWidth - 46, 100), Qt::AlignLeft | Qt::TextWordWrap,
        QStringLiteral("Batch resizing of JPEG, PNG, GIF, BMP, WebP, TIFF, AVIF, HEIC and JPEG XL pictures "
                       "with seven resampling filters, from a shrink by ten times to a common width and "
                       "height."),
        13, false, QColor(46, 84, 62));
    return picture;
}

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("About"));
    SetBackground(this, StoredColor(colors::kAboutBox));
    QFont designFont(QStringLiteral("MS Sans Serif"));
    designFont.setPointSize(8);
    setFont(designFont);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);

    aboutImage = new QLabel(this);
    aboutImage->setAlignment(Qt::AlignCenter);
    aboutImage->setPixmap(QPixmap::fromImage(MakeAboutPicture()));
    lblVersion = new QLabel(this);
    lblVersion->move(10, 14);
    lblCopyRight = new QLabel(this);
    lblCopyRight->move(23, 201);
    // A click on the picture or a label is a click on the box.
    for (QLabel* label : {aboutImage, lblVersion, lblCopyRight})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

    FormCreate();
}

void TAboutBox::FormCreate()
{
    lblCopyRight->setText(QString::fromLatin1(kCopyRight));
    lblCopyRight->adjustSize();
    const QSize size = aboutImage->pixmap().size();
    setFixedSize(size);
    aboutImage->setGeometry(rect());
    lblVersion->setText(QStringLiteral("Version ") + QString::fromStdString(GetProgramVersion()));
    lblVersion->adjustSize();
    lblVersion->raise();
    lblCopyRight->raise();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TAboutBox::aboutImageClick()
{
    accept();
}

void TAboutBox::mouseReleaseEvent(QMouseEvent* event)
{
    QDialog::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) aboutImageClick();
}

}  // namespace selvane
